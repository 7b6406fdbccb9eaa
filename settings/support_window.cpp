#include "settings/support_window.h"

#include "platform/dialogs.h"
#include "platform/windowkit.h"
#include "settings/supportcontacts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *addLabel(QWidget *parent, QVBoxLayout *layout, const char *name, const QString &text)
{
    auto *label = WindowKit::named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    return label;
}

} // namespace

Form4::Form4(ComposeMessage compose, QWidget *parent)
    : QWidget(parent)
    , m_compose(std::move(compose))
{
    setWindowTitle(Caption);
    auto *layout = new QVBoxLayout(this);
    Label1 = addLabel(
        this, layout, "Label1",
        QStringLiteral("Если у Вас возникли какие-то вопросы или проблемы с программой, обратитесь по "
                       "этим контактам:"));
    Label2 = addLabel(this, layout, "Label2",
                      QStringLiteral("ICQ: ") + SupportContacts::shown(SupportContacts::SupportUin));
    Label3 = addLabel(this, layout, "Label3",
                      QStringLiteral("Форум: ") + SupportContacts::shown(SupportContacts::SupportForum));
    Label4 = addLabel(this, layout, "Label4",
                      QStringLiteral("E-mail: ") + SupportContacts::shown(SupportContacts::SupportMail));
    Label9 = addLabel(this, layout, "Label9",
                      QStringLiteral("Щёлкните чтобы отправить сообщение, по ниже следующей теме:"));

    ClickLabel **topicLabels[] = {&Label5, &Label6, &Label7, &Label8};
    const QList<SupportTopic> &topics = SupportTopics::all();
    for (int i = 0; i < topics.size(); ++i) {
        auto *label = new ClickLabel(topics.at(i).caption, this);
        label->setObjectName(QString::fromLatin1(topics.at(i).label));
        layout->addWidget(label);
        *topicLabels[i] = label;
        connect(label, &ClickLabel::clicked, this, [this, i] { topicClicked(i); });
    }
    layout->addStretch();
}

void Form4::topicClicked(int topic)
{
    const std::optional<QString> uin = SupportContacts::value(SupportContacts::SupportUin);
    if (!uin) {
        Dialogs::instance().message(QString(), SupportContacts::NoSupportUinText, Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
        return;
    }
    if (m_compose)
        m_compose(SupportTopics::draft(SupportTopics::all().at(topic), *uin));
}

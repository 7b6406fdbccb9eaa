#include "settings/about_window.h"

#include "platform/dialogs.h"
#include "platform/webopener.h"
#include "platform/windowkit.h"
#include "settings/supportcontacts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

template<typename Label = QLabel> Label *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = WindowKit::named(new Label(text, parent), name);
    label->setWordWrap(true);
    return label;
}

} // namespace

Form8::Form8(ComposeMessage compose, QWidget *parent)
    : QWidget(parent)
    , m_compose(std::move(compose))
{
    setWindowTitle(Caption);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Korvane"));
    QFont large = Label1->font();
    large.setPointSizeF(large.pointSizeF() * 2.5);
    large.setBold(true);
    Label1->setFont(large);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Интеллектуальный бот для вас"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("Версия: 1.9"));
    Label4 = makeLabel(this, "Label4", QStringLiteral("Версия ядра: 1.0"));
    Label8 = makeLabel<ClickLabel>(this, "Label8", SupportContacts::shown(SupportContacts::Site));
    Label10 = makeLabel(this, "Label10",
                        QStringLiteral("Спасибо всем, кто испытывал бота, находил ошибки и присылал "
                                       "пожелания."));
    Label14 = makeLabel(this, "Label14", QStringLiteral("Если вам есть, что предложить обращайтесь на :"));
    Label15 = makeLabel(this, "Label15", QStringLiteral("ICQ       :"));
    Label16 = makeLabel<ClickLabel>(this, "Label16", SupportContacts::shown(SupportContacts::AuthorUin));
    Label18 = makeLabel(this, "Label18",
                        QStringLiteral("E-mail: ") + SupportContacts::shown(SupportContacts::AuthorMail));
    Label17 = makeLabel<ClickLabel>(this, "Label17", QStringLiteral("Закрыть"));

    auto *contact = new QHBoxLayout;
    contact->addWidget(Label15);
    contact->addWidget(Label16, 1);
    auto *layout = new QVBoxLayout(this);
    for (QLabel *label : {Label1, Label2, Label3, Label4, static_cast<QLabel *>(Label8), Label10, Label14})
        layout->addWidget(label);
    layout->addLayout(contact);
    layout->addWidget(Label18);
    layout->addStretch();
    layout->addWidget(Label17, 0, Qt::AlignRight);

    connect(Label16, &ClickLabel::clicked, this, &Form8::Label16_Click);
    connect(Label17, &ClickLabel::clicked, this, &Form8::Label17_Click);
    connect(Label8, &ClickLabel::clicked, this, &Form8::Label8_Click);
}

void Form8::Label16_Click()
{
    const std::optional<QString> uin = SupportContacts::value(SupportContacts::AuthorUin);
    if (!uin) {
        Dialogs::instance().message(QString(), SupportContacts::NoAuthorUinText, Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
        return;
    }
    if (m_compose)
        m_compose(SupportTopics::contactDraft(*uin));
}

void Form8::Label17_Click()
{
    WindowKit::hideInFrame(this);
}

void Form8::Label8_Click()
{
    const std::optional<QString> site = SupportContacts::value(SupportContacts::Site);
    if (!site) {
        Dialogs::instance().message(QString(), SupportContacts::NoSiteText, Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
        return;
    }
    if (!WebOpener::instance().open(*site)) {
        Dialogs::instance().message(SupportContacts::OpenFailedTitle,
                                    SupportContacts::OpenFailedText.arg(*site), Dialogs::Icon::Warning,
                                    Dialogs::Buttons::Ok);
    }
}

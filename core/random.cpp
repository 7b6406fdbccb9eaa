#include "core/random.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {
Random *g_random = nullptr;
} // namespace

QString Random::pick(const QStringList &list)
{
    if (list.isEmpty())
        return {};
    const int index = bounded(int(list.size()));
    return list.value(std::clamp(index, 0, int(list.size()) - 1));
}

Random &Random::instance()
{
    static SystemRandom system;
    return g_random ? *g_random : system;
}

void Random::setInstance(Random *random)
{
    g_random = random;
}

int SystemRandom::bounded(int n)
{
    if (n < 1)
        return 0;
    return QRandomGenerator::global()->bounded(n);
}

double SystemRandom::unit()
{
    return QRandomGenerator::global()->generateDouble();
}

int ScriptedRandom::bounded(int n)
{
    m_requests.append(n);
    if (n < 1)
        return 0;
    const int value = m_values.isEmpty() ? 0 : m_values.takeFirst();
    return std::clamp(value, 0, n - 1);
}

double ScriptedRandom::unit()
{
    const double value = m_units.isEmpty() ? 0.0 : m_units.takeFirst();
    return std::clamp(value, 0.0, 0.999999999999);
}

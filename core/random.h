#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Chance as the program sees it. One instance serves the whole program; tests replace
// it with a ScriptedRandom.
class Random
{
public:
    virtual ~Random() = default;

    // A whole number in 0..n-1; 0 when n < 1.
    virtual int bounded(int n) = 0;
    // A real number in [0, 1), as VB's Rnd.
    virtual double unit() = 0;

    // One entry picked by bounded(list.size()); empty text for an empty list.
    QString pick(const QStringList &list);

    static Random &instance();
    // Replaces the instance (not owned); nullptr restores the real one.
    static void setInstance(Random *random);
};

// QRandomGenerator::global().
class SystemRandom : public Random
{
public:
    int bounded(int n) override;
    double unit() override;
};

// Returns queued values in order. bounded() takes from the queue of whole numbers and
// unit() from the queue of reals; a queued whole number outside 0..n-1 is clamped into
// it, and an empty queue gives 0 (0.0). Every request is recorded for the test.
class ScriptedRandom : public Random
{
public:
    void queue(int value) { m_values.append(value); }
    void queue(std::initializer_list<int> values) { m_values.append(QList<int>(values)); }
    void queueUnit(double value) { m_units.append(value); }

    int bounded(int n) override;
    double unit() override;

    // The n of every bounded(n) call, in order.
    QList<int> requests() const { return m_requests; }
    int pending() const { return int(m_values.size()); }

private:
    QList<int> m_values;
    QList<double> m_units;
    QList<int> m_requests;
};

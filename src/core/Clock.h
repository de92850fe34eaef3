#pragma once

#include <QDateTime>

namespace kvo {

// "Now" for the whole system; tests fix it so that stamps are predictable.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setFixed(const QDateTime& moment); // every now() returns it
    static void reset();                           // back to the real clock
};

// Fixes the clock for a scope.
class FixedClock {
public:
    explicit FixedClock(const QDateTime& moment) { Clock::setFixed(moment); }
    ~FixedClock() { Clock::reset(); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

} // namespace kvo

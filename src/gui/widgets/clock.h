#pragma once
// The clock behind "today", the time of saving and the splash wait; fixed in tests.
#include "core/text/dates.h"

namespace pairly::gui::widgets {

class Clock {
public:
    virtual ~Clock() = default;
    virtual text::Date today() const = 0;
    virtual int secondsSinceMidnight() const = 0;
    virtual long long monotonicMs() const = 0;
    // Waits (letting the window paint) until monotonicMs() has advanced by ms.
    virtual void pause(int ms) = 0;
};

class SystemClock : public Clock {
public:
    text::Date today() const override;
    int secondsSinceMidnight() const override;
    long long monotonicMs() const override;
    void pause(int ms) override;
};

class FixedClock : public Clock {
public:
    FixedClock(text::Date day, int seconds) : day_(day), seconds_(seconds) {}
    text::Date today() const override { return day_; }
    int secondsSinceMidnight() const override { return seconds_; }
    long long monotonicMs() const override { return ms_; }
    void pause(int ms) override { ms_ += ms; }
    void set(text::Date day, int seconds) {
        day_ = day;
        seconds_ = seconds;
    }

private:
    text::Date day_;
    int seconds_;
    long long ms_ = 0;
};

}  // namespace pairly::gui::widgets

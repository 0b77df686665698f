#include "game/FrameLoop.hpp"

#include "game/Game.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMs(std::int64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace

FramePacer::FramePacer() : FramePacer(steadyMs, sleepMs) {}

FramePacer::FramePacer(Clock clock, Sleeper sleeper)
    : clock_(std::move(clock)), sleeper_(std::move(sleeper)) {
    last_ = clock_();
}

void FramePacer::start() {
    last_ = clock_();
    summed_ = 0.0;
    counter_ = 0;
    displayedRate_ = 0.0;
}

void FramePacer::setTarget(int fps) { target_ = std::clamp(fps, 15, 50); }

double FramePacer::elapsedSeconds(std::int64_t now) const { return (now - last_) / 1000.0; }

bool FramePacer::beginFrame() {
    std::int64_t now = clock_();
    double elapsed = elapsedSeconds(now);
    if (!due(elapsed)) return false;
    summed_ += elapsed;
    last_ = now;
    if (++counter_ == 60) {
        displayedRate_ = 60.0 / summed_;
        summed_ = 0.0;
        counter_ = 0;
    }
    return true;
}

std::int64_t FramePacer::msUntilDue() const {
    std::int64_t elapsedMs = clock_() - last_;
    if (due(elapsedMs / 1000.0)) return 0;
    // The first whole millisecond at which the frame-due test passes.
    std::int64_t dueMs = 1000 / target_;
    while (!due(dueMs / 1000.0)) ++dueMs;
    return dueMs - elapsedMs;
}

void FramePacer::waitForFrame() {
    std::int64_t wait = msUntilDue();
    if (wait > 0) sleeper_(wait);
}

std::string FramePacer::rateText() const { return "FPS " + std::to_string(displayedRate_); }

namespace {

bool isCommandKey(int code) {
    return code == keys::Space || code == keys::LControl || code == keys::X || code == keys::Z;
}

} // namespace

bool KeyPressFilter::press(int code) {
    if (!isCommandKey(code)) return true;
    return down_.insert(code).second;
}

void KeyPressFilter::release(int code) { down_.erase(code); }

void KeyPressFilter::noteDrained(const sf::Event& event) {
    if (event.type == sf::Event::KeyReleased) release(static_cast<int>(event.key.code));
    else if (event.type == sf::Event::LostFocus) forget();
}

KeyPressFilter& windowKeyFilter() {
    static KeyPressFilter filter;
    return filter;
}

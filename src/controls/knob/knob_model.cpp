#include "controls/knob/knob_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace knob {

namespace {

int Saturate(long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Windows virtual-key codes of the keys the knob answers to.
constexpr unsigned short KeyPageUp = 33;
constexpr unsigned short KeyPageDown = 34;
constexpr unsigned short KeyEnd = 35;
constexpr unsigned short KeyHome = 36;
constexpr unsigned short KeyLeft = 37;
constexpr unsigned short KeyUp = 38;
constexpr unsigned short KeyRight = 39;
constexpr unsigned short KeyDown = 40;

} // namespace

long long RoundHalfEven(double v) {
    // std::nearbyint follows the current rounding mode, which is round-to-nearest-even unless
    // someone changed it; do it by hand so the result never depends on that.
    double floor = std::floor(v);
    double diff = v - floor;
    if (diff > 0.5)
        floor += 1.0;
    else if (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)
        floor += 1.0;
    return static_cast<long long>(floor);
}

float DegreesPerUnit(int min, int max) {
    if (max == min)
        return 0.0f;
    // The difference is taken in 64 bits: a range wider than int would otherwise wrap and turn
    // the knob backwards.
    long long span = static_cast<long long>(max) - static_cast<long long>(min);
    return static_cast<float>(static_cast<double>(Sweep) / static_cast<double>(span));
}

int PositionToAngle(int position, int min, float degreesPerUnit) {
    double units = static_cast<double>(static_cast<long long>(position) - min);
    return Saturate(MinAngle - RoundHalfEven(units * static_cast<double>(degreesPerUnit)));
}

int AngleToPosition(int angle, int min, int max, float degreesPerUnit) {
    if (degreesPerUnit == 0.0f)
        return min;
    long long v = RoundHalfEven(static_cast<double>(MinAngle - static_cast<long long>(angle)) /
                                static_cast<double>(degreesPerUnit)) +
                  min;
    return static_cast<int>(std::clamp<long long>(v, std::min(min, max), std::max(min, max)));
}

int ClampPosition(int p, int min, int max, float degreesPerUnit) {
    if (degreesPerUnit >= 0.0f) {
        if (p < min)
            p = min;
        if (p > max)
            p = max;
    } else {
        if (p > min)
            p = max;
        if (p < max)
            p = min;
    }
    return p;
}

int PointerAngle(int x, int y, int width, int height) {
    const int cx = width / 2;
    const int cy = height / 2;
    long long a;
    if (x == cx) {
        a = y <= cy ? 90 : MinAngle;
    } else {
        double t = (static_cast<double>(cy) - y) / (static_cast<double>(x) - cx);
        a = RoundHalfEven(std::atan(t) * 180.0 / std::numbers::pi);
        if (x < cx)
            a = (a + 540) % 360;
    }
    // The bottom gap is split: its left part belongs to Min, its right part to Max.
    if (a > MinAngle && a <= 270)
        a = MinAngle;
    if (a < MaxAngle)
        a = MaxAngle;
    return static_cast<int>(a);
}

bool InsideInscribedEllipse(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return false;
    const double rx = width / 2.0;
    const double ry = height / 2.0;
    // Pixel centres, so the test is symmetric on both sides of the control.
    const double dx = (x + 0.5 - rx) / rx;
    const double dy = (y + 0.5 - ry) / ry;
    return dx * dx + dy * dy <= 1.0;
}

int SquaredSide(int diameter, int width, int height) {
    if (diameter < height || diameter < width)
        return std::max(height, width);
    if (diameter > height || diameter > width)
        return std::min(height, width);
    return diameter;
}

std::optional<int> KeyTarget(unsigned short key, int position, int min, int max,
                             std::uint16_t pageSize) {
    const long long p = position;
    switch (key) {
    case KeyPageUp:
        return Saturate(p + pageSize);
    case KeyPageDown:
        return Saturate(p - pageSize);
    case KeyEnd:
        return max;
    case KeyHome:
        return min;
    case KeyLeft:
    case KeyDown:
        return Saturate(p - 1);
    case KeyUp:
    case KeyRight:
        return Saturate(p + 1);
    default:
        return std::nullopt;
    }
}

float ClampLineLength(float v, float radius) {
    // Written as "not above" so a NaN lands on the lower bound instead of being stored.
    if (!(v > 3.0f))
        return 3.0f;
    if (v >= radius - 9.0f)
        return radius - 9.0f;
    return v;
}

float ClampLineWidth(float v) {
    if (!(v > 1.0f))
        return 1.0f;
    if (v >= 8.0f)
        return 8.0f;
    return v;
}

std::string PositionLabelText(int v, const std::string& caption) {
    std::string text = std::to_string(v);
    text += ' ';
    for (std::size_t i = 0; i < caption.size(); ++i) {
        text += caption[i];
        if (caption[i] == '%' && i + 1 < caption.size() && caption[i + 1] == '%')
            ++i;
    }
    return text;
}

} // namespace knob

// Three doubles: a position or a direction of the light tracer. The model computes in long double;
// tracing millions of rays needs only double.
#pragma once

#include <cmath>

namespace optics {

struct Vec3 {
    double x = 0, y = 0, z = 0;

    friend Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(double t, const Vec3& a) { return {t * a.x, t * a.y, t * a.z}; }
    friend Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
};

inline double Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const Vec3& a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalized(const Vec3& a) {
    return (1.0 / Length(a)) * a;
}

constexpr double Pi = 3.14159265358979323846;
inline double Radians(double degrees) {
    return degrees * Pi / 180.0;
}
inline double Degrees(double radians) {
    return radians * 180.0 / Pi;
}

// A turn by `angle` radians about the unit axis through the origin (Rodrigues' formula).
struct Rotation {
    Vec3 axis{0, 0, 1};
    double angle = 0;
    Vec3 operator()(const Vec3& v) const {
        const double c = std::cos(angle), s = std::sin(angle);
        return c * v + s * Cross(axis, v) + ((1 - c) * Dot(axis, v)) * axis;
    }
};

} // namespace optics

// Three extended reals: a position or a direction in design units.
#pragma once

#include <cmath>

using Real = long double;

struct Vector3 {
    Real x = 0, y = 0, z = 0;

    friend Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vector3 operator*(Real t, const Vector3& a) { return {t * a.x, t * a.y, t * a.z}; }
    friend Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

inline Real Dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Sum of the absolute coordinate differences: the distance the point merge uses.
inline Real ManhattanDistance(const Vector3& a, const Vector3& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
}

// A facet plane: the stone keeps the points p with Dot(Normal, p) >= Dist.
struct Plane {
    Vector3 Normal;
    Real Dist = 0;
};

#include "Apparatus.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

struct Vec {
    double x = 0, y = 0, z = 0;
    Vec operator+(Vec o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator-(Vec o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator*(double k) const { return {x * k, y * k, z * k}; }
};
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(Vec a) {
    return a * (1.0 / std::sqrt(Dot(a, a)));
}
Vec Mix(Vec a, Vec b, double k) {
    return a * (1 - k) + b * k;
}

// The scene, in coil radii: y is up, the plane is y = 0, the coil lies in the vertical plane
// z = 0 with its axis along z, so its wire pierces the plane at x = ±1.
constexpr double kRingRadius = 1.0;
constexpr double kWireRadius = 0.11;
constexpr double kPlaneHalfX = 2.25;
constexpr double kPlaneHalfZ = 1.75;
constexpr double kLineHalfWidth = 0.007;
constexpr double kEdgeHalfWidth = 0.012;
constexpr double kPlaneOpacity = 0.55;

const Vec kEye{2.2, 2.45, 5.6};
const Vec kTarget{-0.22, -0.05, 0.0};
const Vec kLight = Unit(Vec{-0.5, 1.0, 0.8});
const Vec kWhite{1, 1, 1};
const Vec kPlaneGreen{0.70, 0.93, 0.62};
const Vec kEdgeGreen{0.36, 0.62, 0.32};
const Vec kCoilRed{0.50, 0.035, 0.03};

double TorusDistance(Vec p) {
    const double q = std::hypot(p.x, p.y) - kRingRadius;
    return std::hypot(q, p.z) - kWireRadius;
}

Vec TorusNormal(Vec p) {
    const double rho = std::hypot(p.x, p.y);
    const Vec nearest{p.x / rho * kRingRadius, p.y / rho * kRingRadius, 0};
    return Unit(p - nearest);
}

/// Distance along the ray to the coil's surface, by sphere tracing.
std::optional<double> HitTorus(Vec origin, Vec dir) {
    double t = 0;
    for (int i = 0; i < 300 && t < 40; ++i) {
        const double d = TorusDistance(origin + dir * t);
        if (d < 1e-6)
            return t;
        t += d;
    }
    return std::nullopt;
}

/// Distance along the ray to the plane's rectangle.
std::optional<double> HitPlane(Vec origin, Vec dir) {
    if (std::abs(dir.y) < 1e-12)
        return std::nullopt;
    const double t = -origin.y / dir.y;
    const Vec p = origin + dir * t;
    if (t <= 0 || std::abs(p.x) > kPlaneHalfX || std::abs(p.z) > kPlaneHalfZ)
        return std::nullopt;
    return t;
}

/// The coil's colour: ambient, diffuse and a white highlight, dimmed where the coil lies in
/// its own shadow or under the plane (less light reaches it there).
Vec ShadeCoil(Vec p, Vec view) {
    const Vec n = TorusNormal(p);
    double diffuse = std::max(0.0, Dot(n, kLight));
    if (HitTorus(p + n * 1e-4, kLight))
        diffuse *= 0.25;
    const Vec half = Unit(kLight - view);
    const double specular = diffuse > 0 ? std::pow(std::max(0.0, Dot(n, half)), 40) : 0;
    const double rim = std::pow(1 - std::abs(Dot(n, view)), 3) * 0.12;
    return kCoilRed * (0.35 + 1.15 * diffuse) + kWhite * (0.55 * specular + rim);
}

/// The plane's own colour at a point: green, a darker rim, and the two black lines.
Vec PlaneSurface(Vec p, double* opacity) {
    *opacity = kPlaneOpacity;
    if (std::abs(p.x) < kLineHalfWidth || std::abs(p.z) < kLineHalfWidth) {
        *opacity = 1;
        return Vec{0, 0, 0};
    }
    if (kPlaneHalfX - std::abs(p.x) < kEdgeHalfWidth ||
        kPlaneHalfZ - std::abs(p.z) < kEdgeHalfWidth) {
        *opacity = 0.9;
        return kEdgeGreen;
    }
    // The upper half of the coil shades the plane where it stands between it and the light.
    const bool shadowed = HitTorus(p + Vec{0, 1e-4, 0}, kLight).has_value();
    return shadowed ? kPlaneGreen * 0.86 : kPlaneGreen;
}

Vec Trace(Vec origin, Vec dir) {
    const std::optional<double> coil = HitTorus(origin, dir);
    const std::optional<double> plane = HitPlane(origin, dir);
    const Vec behind = coil ? ShadeCoil(origin + dir * *coil, dir) : kWhite;
    if (plane && (!coil || *plane < *coil)) {
        double opacity = 0;
        const Vec surface = PlaneSurface(origin + dir * *plane, &opacity);
        return Mix(behind, surface, opacity);
    }
    return behind;
}

int Channel(double v) {
    return std::clamp(static_cast<int>(std::lround(v * 255)), 0, 255);
}

}  // namespace

QImage ApparatusPicture(int width, int height) {
    const Vec forward = Unit(kTarget - kEye);
    const Vec right = Unit(Cross(forward, Vec{0, 1, 0}));
    const Vec up = Cross(right, forward);
    const double halfHeight = std::tan(0.5 * 35.0 * M_PI / 180.0);
    const double halfWidth = halfHeight * width / height;
    constexpr int kSamples = 4;  // per axis and pixel

    QImage picture(width, height, QImage::Format_RGB888);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Vec sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = ((px + (sx + 0.5) / kSamples) / width * 2 - 1) * halfWidth;
                    const double v = (1 - (py + (sy + 0.5) / kSamples) / height * 2) * halfHeight;
                    sum = sum + Trace(kEye, Unit(forward + right * u + up * v));
                }
            }
            const Vec c = sum * (1.0 / (kSamples * kSamples));
            picture.setPixel(px, py, qRgb(Channel(c.x), Channel(c.y), Channel(c.z)));
        }
    }
    return picture;
}

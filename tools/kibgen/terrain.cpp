#include "terrain.h"

#include "geometry.h"
#include "rng.h"
#include "svg_out.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kib::gen {

namespace {

enum Kind {
    kRough,
    kOpen,
    kSlow,
    kDifficult,
    kFight,
    kLake,
    kContour,
    kIndexContour,
    kKnoll,
    kStream,
    kTree,
    kCanopy,
    kBuilding,
    kTrack,
    kFootpath,
    kSmallPath,
    kBoulder,
    kKindCount
};

struct Style {
    int major;
    int minor;
    const char* name;
    const char* style;
    const char* second; // a second colour: the symbol is written twice, as OCAD does
};

// In drawing order.
const std::array<Style, kKindCount>& Styles() {
    static const std::array<Style, kKindCount> styles = {{
        {403, 0, "Rough open land", "fill=\"rgb(255,221,154)\" stroke=\"none\"", nullptr},
        {401, 0, "Open land", "fill=\"rgb(255,186,54)\" stroke=\"none\"", nullptr},
        {406, 0, "Forest: slow running", "fill=\"rgb(194,255,186)\" stroke=\"none\"", nullptr},
        {408, 0, "Forest: difficult to run", "fill=\"rgb(138,255,115)\" stroke=\"none\"", nullptr},
        {410, 0, "Vegetation: fight", "fill=\"rgb(61,255,23)\" stroke=\"none\"", nullptr},
        {301, 0, "Lake", "fill=\"rgb(0,168,232)\" stroke=\"none\"",
         "fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.14\""},
        {101, 0, "Contour", "fill=\"none\" stroke=\"rgb(209,92,0)\" stroke-width=\"0.14\"",
         nullptr},
        {102, 0, "Index contour", "fill=\"none\" stroke=\"rgb(209,92,0)\" stroke-width=\"0.25\"",
         nullptr},
        {112, 0, "Small knoll", "fill=\"rgb(209,92,0)\" stroke=\"none\"", nullptr},
        {305, 0, "Minor water channel",
         "fill=\"none\" stroke=\"rgb(0,168,232)\" stroke-width=\"0.25\"", nullptr},
        {418, 0, "Distinct vegetation feature", "fill=\"rgb(36,255,23)\" stroke=\"none\"", nullptr},
        {522, 0, "Canopy", "fill=\"rgb(153,153,153)\" stroke=\"none\"",
         "fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.1\""},
        {521, 0, "Building", "fill=\"rgb(0,0,0)\" stroke=\"none\"", nullptr},
        {504, 0, "Vehicle track",
         "fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.35\" stroke-dasharray=\"3 0.4\"",
         nullptr},
        {505, 0, "Footpath",
         "fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.25\" stroke-dasharray=\"2 0.25\"",
         nullptr},
        {506, 0, "Small footpath",
         "fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.18\" stroke-dasharray=\"1 0.25\"",
         nullptr},
        {206, 0, "Boulder", "fill=\"rgb(0,0,0)\" stroke=\"none\"", nullptr},
    }};
    return styles;
}

struct Dot {
    Pt centre;
    double radius;
};

struct Bucket {
    std::vector<PathData> paths;
    std::vector<Dot> dots;
};

class TerrainMaker {
  public:
    explicit TerrainMaker(const Options& o)
        : o_(o), rng_(o.seed * 6364136223846793005ULL + 1442695040888963407ULL) {}

    std::string Render() {
        int made = 0;
        while (made < o_.objects) {
            made += MakeOne(o_.objects - made);
        }
        std::string text;
        text.reserve(static_cast<std::size_t>(o_.objects) * 420 + 1024);
        SvgOut out(text);
        for (int k = 0; k < kKindCount; ++k) {
            WriteKind(out, k);
        }
        return text;
    }

  private:
    Pt Clamp(Pt p) const {
        return {std::clamp(p.x, 0.0, o_.width), std::clamp(p.y, 0.0, o_.height)};
    }
    Pt RandomPoint() { return {rng_.Uniform(0, o_.width), rng_.Uniform(0, o_.height)}; }

    std::vector<double> Noise(int n, double rough) {
        std::vector<double> raw(static_cast<std::size_t>(n));
        for (double& v : raw) {
            v = rng_.Uniform(-1.0, 1.0);
        }
        std::vector<double> smooth(raw.size());
        for (int i = 0; i < n; ++i) {
            const double a = raw[static_cast<std::size_t>((i + n - 1) % n)];
            const double b = raw[static_cast<std::size_t>(i)];
            const double c = raw[static_cast<std::size_t>((i + 1) % n)];
            smooth[static_cast<std::size_t>(i)] = 1.0 + rough * (a + 2 * b + c) / 4.0;
        }
        return smooth;
    }

    std::vector<Pt> Ring(Pt c, double r, const std::vector<double>& noise, double turn) {
        std::vector<Pt> pts;
        const int n = static_cast<int>(noise.size());
        for (int i = 0; i < n; ++i) {
            const double a = turn + 360.0 * i / n;
            pts.push_back(Clamp(c + Pt{std::cos(Rad(a)), std::sin(Rad(a))} *
                                        (r * noise[static_cast<std::size_t>(i)])));
        }
        return pts;
    }

    void AddBlob(int kind, Pt c, double r, int n, double rough) {
        PathData p;
        const auto ring = Ring(c, r, Noise(n, rough), rng_.Uniform(0, 360));
        p.Move(ring[0]).Curves(SmoothClosed(ring)).Close();
        buckets_[kind].paths.push_back(std::move(p));
    }

    // A free spot for a hill of radius r: hills of small maps do not overlap (their
    // contours would cross); a crowded map takes the last spot tried, and a huge one
    // (benchmarks) any spot.
    Pt HillSpot(double r) {
        Pt c = RandomPoint();
        const int attempts = hills_.size() < 500 ? 30 : 0;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            bool free = true;
            for (const Dot& h : hills_) {
                free = free && Dist(h.centre, c) > h.radius + r + 3.0;
            }
            if (free) {
                break;
            }
            c = RandomPoint();
        }
        hills_.push_back({c, r * 1.35});
        return c;
    }

    int Hill(int budget) {
        const double r0 = rng_.Uniform(8.0, 28.0);
        const Pt c = HillSpot(r0);
        const int levels = std::min(budget, rng_.Int(2, 5));
        const auto noise = Noise(12, 0.45);
        const double turn = rng_.Uniform(0, 360);
        const double gap = r0 * 0.8 / levels;
        const Pt drift = BearingVector(rng_.Uniform(0, 360)) * (0.3 * gap);
        for (int l = 0; l < levels; ++l) {
            const auto ring = Ring(c + drift * l, r0 - gap * l, noise, turn);
            PathData p;
            p.Move(ring[0]).Curves(SmoothClosed(ring)).Close();
            const int kind = l == 1 && rng_.Chance(0.3) ? kIndexContour : kContour;
            buckets_[kind].paths.push_back(std::move(p));
        }
        return levels;
    }

    std::vector<Pt> Walk(int steps, double lo, double hi, double turnMax) {
        Pt p = RandomPoint();
        double heading = rng_.Uniform(0, 360);
        std::vector<Pt> pts{p};
        for (int i = 0; i < steps; ++i) {
            heading += rng_.Uniform(-turnMax, turnMax);
            p = Clamp(p + BearingVector(heading) * rng_.Uniform(lo, hi));
            pts.push_back(p);
        }
        return pts;
    }

    void Stream() {
        const auto pts = Walk(rng_.Int(5, 12), 6.0, 10.0, 30.0);
        PathData p;
        p.Move(pts[0]).Curves(SmoothOpen(pts));
        buckets_[kStream].paths.push_back(std::move(p));
    }

    void Track() {
        const double roll = rng_.Unit();
        const int kind = roll < 0.2 ? kTrack : roll < 0.65 ? kFootpath : kSmallPath;
        const auto pts = Walk(rng_.Int(6, 18), 4.0, 9.0, 25.0);
        PathData p;
        if (kind == kTrack) {
            p.Move(pts[0]).Curves(SmoothOpen(pts));
        } else {
            p.Polyline(pts).ImplicitLines();
        }
        buckets_[kind].paths.push_back(std::move(p));
    }

    int Buildings(int budget) {
        const Pt c = RandomPoint();
        const int count = std::min(budget, rng_.Int(1, 3));
        const double turn = rng_.Uniform(0, 90);
        for (int i = 0; i < count; ++i) {
            const Pt at = Clamp(c + Pt{rng_.Uniform(-12, 12), rng_.Uniform(-12, 12)});
            const double w = rng_.Uniform(2.0, 7.0) / 2;
            const double h = rng_.Uniform(2.0, 6.0) / 2;
            const Pt u = BearingVector(turn + 90) * w;
            const Pt v = BearingVector(turn + 180) * h;
            PathData p;
            p.Polyline({Clamp(at - u - v), Clamp(at + u - v), Clamp(at + u + v), Clamp(at - u + v)})
                .Close();
            buckets_[rng_.Chance(0.25) ? kCanopy : kBuilding].paths.push_back(std::move(p));
        }
        return count;
    }

    void Point() {
        const double roll = rng_.Unit();
        const int kind = roll < 0.4 ? kKnoll : roll < 0.75 ? kBoulder : kTree;
        const double radius = kind == kKnoll ? 0.45 : kind == kBoulder ? 0.3 : 0.55;
        buckets_[kind].dots.push_back({RandomPoint(), radius});
    }

    int MakeOne(int budget) {
        const double roll = rng_.Uniform(0, 100);
        if (roll < 11) {
            return Hill(budget);
        }
        if (roll < 25) {
            const double v = rng_.Unit();
            AddBlob(v < 0.55   ? kSlow
                    : v < 0.85 ? kDifficult
                               : kFight,
                    RandomPoint(), rng_.Uniform(3.0, 12.0), 9, 0.6);
        } else if (roll < 32) {
            AddBlob(rng_.Chance(0.5) ? kOpen : kRough, RandomPoint(), rng_.Uniform(4.0, 14.0), 8,
                    0.5);
        } else if (roll < 34) {
            AddBlob(kLake, RandomPoint(), rng_.Uniform(2.0, 6.0), 8, 0.4);
        } else if (roll < 38) {
            Stream();
        } else if (roll < 48) {
            Track();
        } else if (roll < 56) {
            return Buildings(budget);
        } else {
            Point();
        }
        return 1;
    }

    void WriteGroup(SvgOut& out, const Style& s, const char* style, const Bucket& b) {
        out.BeginSymbol(s.major, s.minor, s.name);
        out.BeginStyle(style);
        for (const Dot& d : b.dots) {
            out.Circle(d.centre, d.radius);
        }
        for (const PathData& p : b.paths) {
            out.Object(p);
        }
        out.EndGroup();
        out.EndGroup();
    }

    void WriteKind(SvgOut& out, int k) {
        const Bucket& b = buckets_[k];
        if (b.paths.empty() && b.dots.empty()) {
            return;
        }
        const Style& s = Styles()[static_cast<std::size_t>(k)];
        WriteGroup(out, s, s.style, b);
        if (s.second) {
            WriteGroup(out, s, s.second, b);
        }
    }

    const Options& o_;
    Rng rng_;
    std::array<Bucket, kKindCount> buckets_;
    std::vector<Dot> hills_;
};

} // namespace

std::string RenderTerrain(const Options& options) {
    return TerrainMaker(options).Render();
}

} // namespace kib::gen

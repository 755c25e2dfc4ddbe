#include "event.h"

#include "desc_symbols.h"
#include "rng.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kib::gen {

namespace {

// Bearing of p seen from the chair, as the map analysis computes it (single precision).
float AnalysisBearing(Pt chair, Pt p) {
    const float dx = static_cast<float>(p.x) - static_cast<float>(chair.x);
    const float dy = static_cast<float>(chair.y) - static_cast<float>(p.y);
    return std::atan2(dx, dy) * (180.0f / 3.1415927f);
}

double Normalise180(double a) {
    while (a > 180.0) {
        a -= 360.0;
    }
    while (a <= -180.0) {
        a += 360.0;
    }
    return a;
}

bool Inside(const Options& o, Pt p, double margin) {
    return p.x >= margin && p.y >= margin && p.x <= o.width - margin && p.y <= o.height - margin;
}

// Whole-degree truncation must not depend on the last bits of a float.
bool SafeBearing(float b) {
    const double frac = std::fabs(b - std::trunc(b));
    return frac > 0.03 && frac < 0.97;
}

template <typename T> void Shuffle(std::vector<T>& v, Rng& rng) {
    for (std::size_t i = v.size(); i > 1; --i) {
        std::swap(v[i - 1], v[static_cast<std::size_t>(rng.Int(0, static_cast<int>(i) - 1))]);
    }
}

Pt PlaceChair(const Options& o, int index, Rng& rng) {
    const int cols =
        std::max(1, static_cast<int>(std::ceil(std::sqrt(o.stations * o.width / o.height))));
    const int rows = (o.stations + cols - 1) / cols;
    const double cw = o.width / cols;
    const double ch = o.height / rows;
    Pt c{(index % cols + 0.5) * cw + rng.Uniform(-0.12, 0.12) * cw,
         (index / cols + 0.5) * ch + rng.Uniform(-0.12, 0.12) * ch};
    const double mx = std::min(45.0, o.width / 2 - 1);
    const double my = std::min(45.0, o.height / 2 - 1);
    c.x = std::clamp(c.x, mx, o.width - mx);
    c.y = std::clamp(c.y, my, o.height - my);
    return Snap(c);
}

void PlaceFlags(const Options& o, Station& st, int count, Rng& rng) {
    st.spread = count > 1 ? rng.Uniform(35.0, 80.0) : 0.0;
    const double step = count > 1 ? st.spread / (count - 1) : 0.0;
    for (int attempt = 0;; ++attempt) {
        st.flags.clear();
        bool good = true;
        for (int k = 0; k < count; ++k) {
            const double b = st.view - st.spread / 2 + step * k + rng.Uniform(-0.15, 0.15) * step;
            const Pt p = Snap(st.chair + BearingVector(b) * rng.Uniform(14.0, 30.0));
            Flag f;
            f.pos = p;
            f.bearing = AnalysisBearing(st.chair, p);
            good = good && SafeBearing(static_cast<float>(f.bearing)) && Inside(o, p, 3.0);
            for (const Flag& other : st.flags) {
                good = good && Dist(other.pos, p) >= 4.5;
            }
            st.flags.push_back(f);
        }
        if (good || attempt > 200) {
            break;
        }
    }
    // Letters from left to right as seen from the chair.
    std::sort(st.flags.begin(), st.flags.end(), [&](const Flag& a, const Flag& b) {
        return Normalise180(a.bearing - st.view) < Normalise180(b.bearing - st.view);
    });
    for (std::size_t k = 0; k < st.flags.size(); ++k) {
        st.flags[k].letter = static_cast<char>('A' + k);
    }
}

Pt ZeroSpot(const Options& o, const Station& st, const std::vector<Place>& places, Rng& rng) {
    Pt best = st.chair + BearingVector(st.view) * 20.0;
    for (int attempt = 0; attempt < 600; ++attempt) {
        const double rel = rng.Uniform(-st.spread / 2 - 4, st.spread / 2 + 4);
        const Pt p = Snap(st.chair + BearingVector(st.view + rel) * rng.Uniform(12.0, 30.0));
        const double need = attempt < 400 ? 4.0 : 2.0;
        bool good = Inside(o, p, 3.0);
        for (const Flag& f : st.flags) {
            good = good && Dist(f.pos, p) >= need;
        }
        for (const Place& q : places) {
            good = good && Dist(q.pos, p) >= need;
        }
        if (good) {
            return p;
        }
        best = p;
    }
    return best;
}

std::vector<DescEntry> Descriptions(Rng& rng) {
    std::vector<DescEntry> out;
    auto pick = [&](int column) {
        const auto list = DescSymbolsOfColumn(column);
        const DescSymbolDef& d =
            list[static_cast<std::size_t>(rng.Int(0, static_cast<int>(list.size()) - 1))];
        out.push_back({d.major, d.minor, column});
    };
    pick(4);
    if (rng.Chance(0.4)) {
        pick(5);
    }
    if (rng.Chance(0.5)) {
        pick(7);
    }
    return out;
}

void PlaceTasks(const Options& o, Station& st, int taskCount, Rng& rng) {
    const int flagCount = static_cast<int>(st.flags.size());
    st.shared = o.shareStations.count(st.number) > 0 && taskCount >= 2;
    const int placeCount = taskCount - (st.shared ? 1 : 0);
    const bool wantZero = o.zerosGiven ? o.zeroStations.count(st.number) > 0 : rng.Chance(0.5);
    const int zeros = std::min(placeCount, std::max(placeCount - flagCount, wantZero ? 1 : 0));
    std::vector<int> flagOrder(static_cast<std::size_t>(flagCount));
    for (int k = 0; k < flagCount; ++k) {
        flagOrder[static_cast<std::size_t>(k)] = k;
    }
    Shuffle(flagOrder, rng);
    for (int k = 0; k < placeCount - zeros; ++k) {
        const int f = flagOrder[static_cast<std::size_t>(k)];
        st.places.push_back({st.flags[static_cast<std::size_t>(f)].pos, f});
        st.flags[static_cast<std::size_t>(f)].correct = true;
    }
    for (int k = 0; k < zeros; ++k) {
        if (k == 0 && o.zeroNear > 0.0 && flagCount > 0) {
            // East of the flag that no task is at (or of the last one), in whole tenths
            // of a map unit, so that its distance on the ground is exact.
            const int f = flagOrder[static_cast<std::size_t>(flagCount - 1)];
            const double units = Snap(o.zeroNear * 1000.0 / o.scale);
            const Pt flag = st.flags[static_cast<std::size_t>(f)].pos;
            st.places.push_back(
                {Snap(Pt{flag.x + units, flag.y}), -1, f, units * o.scale / 1000.0});
            continue;
        }
        st.places.push_back({ZeroSpot(o, st, st.places, rng), -1});
    }
    Shuffle(st.places, rng);
    std::vector<int> counts(st.places.size(), 0);
    for (int t = 1; t <= taskCount; ++t) {
        Task task;
        task.number = t;
        task.code = std::to_string(st.number * 100 + t);
        task.place = st.shared ? std::max(0, t - 2) : t - 1;
        const Place& place = st.places[static_cast<std::size_t>(task.place)];
        task.answer = place.flag < 0 ? 'Z' : st.flags[static_cast<std::size_t>(place.flag)].letter;
        task.arcs = rng.Chance(o.arcPercent / 100.0);
        task.arcStart = rng.Uniform(0.0, 360.0);
        const int k = counts[static_cast<std::size_t>(task.place)]++;
        for (const Task& earlier : st.tasks) {
            if (earlier.place == task.place) {
                // Circles at one place are cut alike, so that their parts pair up.
                task.arcs = earlier.arcs;
                task.arcStart = earlier.arcStart;
                break;
            }
        }
        const double turn = (k % 2 == 0 ? 1 : -1) * (55.0 + 35.0 * (k / 2));
        const double away =
            std::atan2(place.pos.x - st.chair.x, st.chair.y - place.pos.y) * 180.0 / kPi;
        task.numberPos = place.pos + BearingVector(away + turn) * (kCircleRadius + 2.4);
        task.descriptions = Descriptions(rng);
        st.tasks.push_back(task);
    }
}

int RoundTo5(double bearing) {
    double b = std::fmod(bearing + 360.0, 360.0);
    return static_cast<int>(std::lround(b / 5.0) * 5) % 360;
}

void PlaceTable(const Event& ev, Station& st) {
    const Options& o = ev.options;
    const double w = 8 * kCellSize;
    const double h = TableRows(ev, st) * kCellSize;
    const Pt corners[4] = {
        {4, 4}, {o.width - 4 - w, 4}, {4, o.height - 4 - h}, {o.width - 4 - w, o.height - 4 - h}};
    double far = -1.0;
    for (const Pt& c : corners) {
        const double d = Dist(c + Pt{w / 2, h / 2}, st.chair);
        if (d > far) {
            far = d;
            st.tableTopLeft = Snap(c);
        }
    }
}

Station BuildStation(const Event& ev, int index) {
    const Options& o = ev.options;
    Station st;
    st.number = o.firstStation + index;
    Rng rng(o.seed * 1000003ULL + static_cast<std::uint64_t>(st.number) * 7919ULL + 17ULL);
    st.course = o.CourseName(st.number);
    st.startCode = std::string("S").append(std::to_string(st.number));
    st.chair = PlaceChair(o, index, rng);
    st.view = o.views.empty()
                  ? std::floor(rng.Uniform(0.0, 360.0))
                  : o.views[std::min(o.views.size() - 1, static_cast<std::size_t>(index))];
    st.start = Snap(st.chair - BearingVector(st.view) * 5.5);
    PlaceFlags(o, st, o.FlagsOf(index), rng);
    PlaceTasks(o, st, o.TasksOf(index), rng);
    st.answersInH = o.AnswersInColumnH(st.number);
    st.flagRotation = FlagRotation(st, &st.viewingAngle);
    st.angleConfigured = o.angleStations.count(st.number) > 0;
    if (st.angleConfigured) {
        st.minAngle = RoundTo5(st.flags.front().bearing);
        st.maxAngle = RoundTo5(st.flags.back().bearing);
        st.rotation = SectorRotation(st.maxAngle, st.minAngle);
    } else {
        st.rotation = st.flagRotation;
    }
    PlaceTable(ev, st);
    return st;
}

} // namespace

int TableRows(const Event& event, const Station& station) {
    return static_cast<int>(station.tasks.size()) + (event.options.titleRow ? 1 : 0);
}

int SectorRotation(int a, int b) {
    const int m = (a + b) / 2;
    const int r = -m;
    if (std::abs(a - b) <= 180) {
        return r < 0 ? r + 360 : r;
    }
    return r - 180 >= 0 ? r - 180 : r + 180;
}

int FlagRotation(const Station& st, int* viewingAngle) {
    std::vector<float> bearings;
    for (bool correct : {true, false}) {
        for (const Flag& f : st.flags) {
            if (f.correct == correct) {
                bearings.push_back(AnalysisBearing(st.chair, f.pos));
            }
        }
    }
    int maxSpread = 0;
    std::size_t pi = 0;
    std::size_t pj = 0;
    for (std::size_t n = 1; n < bearings.size(); ++n) {
        for (std::size_t k = 0; k < n; ++k) {
            float d = std::fabs(bearings[k] - bearings[n]);
            if (d > 180.0f) {
                d = 360.0f - d;
            }
            if (d > static_cast<float>(maxSpread)) {
                maxSpread = static_cast<int>(d);
                pi = k;
                pj = n;
            }
        }
    }
    if (viewingAngle) {
        *viewingAngle = maxSpread;
    }
    if (bearings.size() < 2 || bearings.size() > 6) {
        return -1;
    }
    return SectorRotation(static_cast<int>(bearings[pj]), static_cast<int>(bearings[pi]));
}

Event BuildEvent(const Options& options) {
    Event ev;
    ev.options = options;
    ev.origin = Snap(Pt{options.width / 2, options.height / 2});
    ev.finish = Snap(Pt{options.width / 2, options.height - 6});
    for (int i = 0; i < options.stations; ++i) {
        ev.stations.push_back(BuildStation(ev, i));
    }
    return ev;
}

} // namespace kib::gen

// Deliberately plain implementations of the Teach-Data rules, written from the rules alone
// with fixed-size arrays and straightforward loops, sharing no code with the classifiers.
// They cover what the randomised tests generate: every part of a valid class, options 0,
// factor 1, every part type with sample parts.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "model/util/Rounding.h"

namespace Reference {

struct Part {
    int type = 1;         // 1-based
    int orientation = 1;  // 1-based
    std::vector<double> values;
    std::vector<bool> valid;         // family 2
    std::vector<std::string> texts;  // family 2: non-empty for text features
    // Results.
    int resultType = 0, resultOrientation = 0;
    double r0 = 0, r1 = 0, r2 = 0;
    int tolerance = 0;
    std::vector<double> deviation;
};

inline std::string Pair(int tA, int oA, int tB, int oB) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d->%d/%d  ", tA + 1, oA + 1, tB + 1, oB + 1);
    return buffer;
}

// ---------------------------------------------------------------- family 1 ---------------
struct Family1 {
    static const int T = 16, O = 8, F = 32;
    float mn[T][O][F], sm[T][O][F], mean[T][O][F], mx[T][O][F], lo[T][O][F], up[T][O][F];
    int usedLo[T][O][F], usedUp[T][O][F];
    int cnt[T][O];
    int oris[T];
    int tol[T];
    bool data[T];
    int sep[T][T][O][O];
    float thr[T][O];
    int nTypes = 0, nFeat = 0;
    bool edition = false;  // Marrow with OS 3.0
    bool newer = true;
    std::string e20, e21, warnings;
    int error = 0;

    Family1() {
        for (int t = 0; t < T; ++t) {
            oris[t] = 0;
            tol[t] = 5;
            data[t] = false;
            for (int o = 0; o < O; ++o) {
                cnt[t][o] = 0;
                thr[t][o] = 0;
                for (int f = 0; f < F; ++f) {
                    mn[t][o][f] = sm[t][o][f] = mean[t][o][f] = mx[t][o][f] = 0;
                    lo[t][o][f] = up[t][o][f] = 0;
                    usedLo[t][o][f] = usedUp[t][o][f] = 0;
                }
            }
        }
        for (int a = 0; a < T; ++a)
            for (int b = 0; b < T; ++b)
                for (int i = 0; i < O; ++i)
                    for (int j = 0; j < O; ++j)
                        sep[a][b][i][j] = -1;
    }

    // Teaches from the sample parts (all of types 0..nTypes-1 with parts in every type).
    void Teach(std::vector<Part>& parts) {
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    sm[t][o][f] = 0;
                    mn[t][o][f] = lo[t][o][f] = 1e20f;
                    mx[t][o][f] = up[t][o][f] = -1e20f;
                }
        for (Part& p : parts) {
            const int t = p.type - 1, o = p.orientation - 1;
            nFeat = static_cast<int>(p.values.size());
            cnt[t][o] += 1;
            if (o + 1 > oris[t]) oris[t] = o + 1;
            for (int f = 0; f < nFeat; ++f) {
                const double v = p.values[f];
                sm[t][o][f] += v;
                if (v < mn[t][o][f]) mn[t][o][f] = lo[t][o][f] = (float)v;
                if (v > mx[t][o][f]) mx[t][o][f] = up[t][o][f] = (float)v;
            }
            double largest = 0;
            if (cnt[t][o] >= 2) {
                for (int f = 0; f < nFeat; ++f) {
                    double s = sm[t][o][f];
                    if (s == 0) s = 0.01;
                    double r = dZRRound(std::fabs(((double)mx[t][o][f] - mn[t][o][f]) / s));
                    r = r * cnt[t][o];
                    if (r > largest) largest = r;
                }
            }
            p.r0 = 1;
            p.r1 = 1;
            p.r2 = cnt[t][o] >= 2 ? std::floor(100 * largest) : 0;
        }
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f)
                    mean[t][o][f] = cnt[t][o] > 0 && f < nFeat
                                        ? (float)dZRRound((double)sm[t][o][f] / cnt[t][o])
                                        : sm[t][o][f];
        for (int t = 0; t < nTypes; ++t) {
            data[t] = false;
            for (int o = 0; o < std::max(oris[t], 1); ++o)
                for (int f = 0; f < nFeat; ++f) {
                    const float a = std::min(mn[t][o][f], mean[t][o][f]);
                    const float b = std::max(mx[t][o][f], mean[t][o][f]);
                    if (a != 0 || mean[t][o][f] != 0 || b != 0) data[t] = true;
                }
        }
        for (Part& p : parts) {
            const int t = p.type - 1, o = p.orientation - 1;
            p.deviation.assign(p.values.size(), 0.0);
            for (int f = 0; f < nFeat; ++f) {
                const double v = p.values[f], m = mean[t][o][f];
                double d = 0;
                if (!(std::fabs(v - m) < 0.0001)) {
                    if (v > m)
                        d = (double)mx[t][o][f] - m == 0 ? 0 : (v - m) / ((double)mx[t][o][f] - m);
                    else
                        d = m - (double)mn[t][o][f] == 0 ? 0 : -(m - v) / (m - (double)mn[t][o][f]);
                }
                p.deviation[f] = 100 * d;
            }
        }
        Separate();
        Bands();
    }

    // What the stored vectors give back: minimum and maximum widened to the mean.
    void Reload() {
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < oris[t]; ++o)
                for (int f = 0; f < nFeat; ++f) {
                    mn[t][o][f] = std::min(mn[t][o][f], mean[t][o][f]);
                    mx[t][o][f] = std::max(mx[t][o][f], mean[t][o][f]);
                }
        for (int a = 0; a < T; ++a)
            for (int b = 0; b < T; ++b)
                for (int i = 0; i < O; ++i)
                    for (int j = 0; j < O; ++j)
                        sep[a][b][i][j] = -1;
        Separate();
        Bands();
    }

    bool Compared(int tA, int oA, int tB, int oB) const {
        if (!data[tA] || !data[tB]) return false;
        if (oA >= oris[tA] || oB >= oris[tB]) return false;
        if (tA == tB) return oA == 0 && oB != 0;
        return tA < tB;
    }

    double S(int tA, int oA, int tB, int oB, int f) const {
        const double D =
            dZRRound(std::fabs((double)mean[tB][oB][f]) + std::fabs((double)mean[tA][oA][f]));
        if (mn[tA][oA][f] > mx[tB][oB][f]) return ((double)mn[tA][oA][f] - mx[tB][oB][f]) / D;
        if (mn[tB][oB][f] > mx[tA][oA][f]) return ((double)mn[tB][oB][f] - mx[tA][oA][f]) / D;
        return -1;
    }

    void Separate() {
        e20.clear();
        e21.clear();
        warnings.clear();
        bool has20 = false, has21 = false;
        for (int tA = 0; tA < nTypes; ++tA)
            for (int tB = tA; tB < nTypes; ++tB)
                for (int oA = 0; oA < O; ++oA)
                    for (int oB = 0; oB < O; ++oB) {
                        if (!Compared(tA, oA, tB, oB)) continue;
                        double best = -1;
                        int bestF = -1;
                        for (int f = 0; f < nFeat; ++f) {
                            const double s = S(tA, oA, tB, oB, f);
                            if (s > best) {
                                best = s;
                                bestF = f;
                            }
                        }
                        sep[tA][tB][oA][oB] = bestF;
                        sep[tB][tA][oB][oA] = bestF;
                        if (bestF < 0) {
                            if (tA == tB) {
                                e20 += Pair(tA, oA, tB, oB);
                                has20 = true;
                            } else {
                                e21 += Pair(tA, oA, tB, oB);
                                has21 = true;
                            }
                        } else if (edition && best < 0.2 && !(tA == 0 && oA == 0)) {
                            char buffer[80];
                            std::snprintf(buffer, sizeof buffer, "%d/%d->%d/%d Tol.:%d  ", tA + 1,
                                          oA + 1, tB + 1, oB + 1, (int)(100 * best));
                            warnings += buffer;
                        }
                    }
        error = has20 ? 20 : has21 ? 21 : 0;
    }

    double W(int t, int o, int f, int k) const {
        return dZRRound(std::fabs((double)mean[t][o][f]) * k / 100.0);
    }
    double U(int t, int o, int f) const {
        return dZRRound(std::fabs((double)mean[t][o][f]) / 100.0);
    }
    static int Units(double distance, double unit) {
        if (!(unit > 0)) return 0;
        const double q = distance / unit;
        if (!(q > 0)) return 0;
        return q >= 255 ? 255 : (int)q;
    }

    struct P {
        int tA, oA, tB, oB, f;
    };
    std::vector<P> BandPairs() const {
        std::vector<P> pairs;
        for (int tA = 0; tA < nTypes; ++tA)
            for (int tB = tA; tB < nTypes; ++tB)
                for (int oA = 0; oA < O; ++oA)
                    for (int oB = 0; oB < O; ++oB) {
                        if (!Compared(tA, oA, tB, oB)) continue;
                        if (edition && !(tA == 0 && oA == 0)) continue;
                        if (sep[tA][tB][oA][oB] < 0) continue;
                        pairs.push_back({tA, oA, tB, oB, sep[tA][tB][oA][oB]});
                    }
        return pairs;
    }
    bool Overlap(const P& p) const {
        return lo[p.tA][p.oA][p.f] <= up[p.tB][p.oB][p.f] &&
               lo[p.tB][p.oB][p.f] <= up[p.tA][p.oA][p.f];
    }

    void Bands() {
        const std::vector<P> pairs = BandPairs();
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    up[t][o][f] = (float)(mx[t][o][f] + W(t, o, f, tol[t]));
                    lo[t][o][f] = (float)(mn[t][o][f] - W(t, o, f, tol[t]));
                    usedLo[t][o][f] = usedUp[t][o][f] = tol[t];
                }
        for (const P& p : pairs) {
            if (!Overlap(p)) continue;
            int kA = tol[p.tA], kB = tol[p.tB];
            while (kA != 0 || kB != 0) {
                if (kA > kB)
                    kA--;
                else if (kB > kA)
                    kB--;
                else {
                    kA--;
                    kB--;
                }
                const double upA = mx[p.tA][p.oA][p.f] + W(p.tA, p.oA, p.f, kA);
                const double upB = mx[p.tB][p.oB][p.f] + W(p.tB, p.oB, p.f, kB);
                const double loA = mn[p.tA][p.oA][p.f] - W(p.tA, p.oA, p.f, kA);
                const double loB = mn[p.tB][p.oB][p.f] - W(p.tB, p.oB, p.f, kB);
                if (upA < loB) {
                    if (upA < up[p.tA][p.oA][p.f]) up[p.tA][p.oA][p.f] = (float)upA;
                    break;
                }
                if (upB < loA) {
                    if (upB < up[p.tB][p.oB][p.f]) up[p.tB][p.oB][p.f] = (float)upB;
                    break;
                }
            }
            usedUp[p.tA][p.oA][p.f] = std::min(usedUp[p.tA][p.oA][p.f], kA);
            usedUp[p.tB][p.oB][p.f] = std::min(usedUp[p.tB][p.oB][p.f], kB);
        }
        for (const P& p : pairs) {
            if (!Overlap(p)) continue;
            int ht = p.tA, ho = p.oA, lt = p.tB, lw = p.oB;  // high and low class
            if (!(mn[p.tB][p.oB][p.f] <= mx[p.tA][p.oA][p.f])) {
                ht = p.tB, ho = p.oB, lt = p.tA, lw = p.oA;
            }
            const int q = Units((double)mn[ht][ho][p.f] - up[lt][lw][p.f], U(ht, ho, p.f));
            lo[ht][ho][p.f] = (float)(mn[ht][ho][p.f] - W(ht, ho, p.f, q));
            usedLo[ht][ho][p.f] = std::min(usedLo[ht][ho][p.f], q);
        }
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    up[t][o][f] = (float)(mx[t][o][f] + W(t, o, f, tol[t]));
                    usedUp[t][o][f] = tol[t];
                }
        for (const P& p : pairs) {
            if (!Overlap(p)) continue;
            int lt = p.tB, lw = p.oB, ht = p.tA, ho = p.oA;
            if (!(mn[p.tB][p.oB][p.f] <= mx[p.tA][p.oA][p.f])) {
                lt = p.tA, lw = p.oA, ht = p.tB, ho = p.oB;
            }
            const int q = Units((double)lo[ht][ho][p.f] - mx[lt][lw][p.f], U(lt, lw, p.f));
            up[lt][lw][p.f] = (float)(mx[lt][lw][p.f] + W(lt, lw, p.f, q));
            usedUp[lt][lw][p.f] = std::min(usedUp[lt][lw][p.f], q);
        }
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                thr[t][o] = 0;
        for (int t = 0; t < nTypes; ++t)
            for (int o = 1; o < oris[t]; ++o) {
                const int f = sep[t][t][0][o];
                if (f < 0) continue;
                if (mean[t][0][f] <= mean[t][o][f])
                    thr[t][o] = (float)(((double)up[t][0][f] + lo[t][o][f]) / 2);
                else
                    thr[t][o] = (float)(((double)lo[t][0][f] + up[t][o][f]) / 2);
            }
    }

    double U1(int t, int o, int f, double v) const {
        const double m = mean[t][o][f];
        if (std::fabs(v - m) < 0.000002) return 0;
        if (v > m) return (double)up[t][o][f] == m ? 1000 : (v - m) / ((double)up[t][o][f] - m);
        return (double)lo[t][o][f] == m ? -1000 : -(m - v) / (m - (double)lo[t][o][f]);
    }

    void Classify(Part& p) const {
        const int n = static_cast<int>(p.values.size());
        int bt = -1, bo = -1;
        double bh = 3.4e38, bs = 3.4e38;
        bool stop = false;
        for (int t = 0; t < nTypes && !stop; ++t)
            for (int o = 0; o < oris[t] && !stop; ++o) {
                double h = 0, s = 0;
                for (int f = 0; f < n; ++f) {
                    const double u = std::fabs(U1(t, o, f, p.values[f]));
                    h = std::max(h, u);
                    s += u;
                }
                const bool in = h <= 1.000002;
                if (newer ? (in || s < bs) : h < bh) {
                    bt = t, bo = o, bh = h, bs = s;
                }
                if (in) stop = true;
            }
        const bool inside = bh <= 1.000002;
        p.resultType = bt + 1;
        p.resultOrientation = bo + 1;
        p.r0 = std::floor(std::min(100 * bh, 999.0));
        if (!inside && p.r0 == 100) p.r0 = 101;
        p.r2 = inside ? 1 : 0;
        p.tolerance = tol[bt];
        p.r1 = 0;
        if (oris[bt] > 1) {
            std::vector<int> ks;
            if (bo != 0)
                ks.push_back(bo);
            else
                for (int k = 1; k < oris[bt]; ++k)
                    ks.push_back(k);
            for (int k : ks) {
                const int f = sep[bt][bt][0][k];
                if (f < 0) continue;
                const double w = std::max((double)up[bt][k][f] - lo[bt][k][f],
                                          (double)up[bt][0][f] - lo[bt][0][f]);
                const double d = std::fabs(p.values[f] - (double)thr[bt][k]);
                const double x = dZRRound(25 * w / d);
                const double m = (std::isnan(x) || x >= 999) ? 999 : x <= 0 ? 0 : std::floor(x);
                p.r1 = std::max(p.r1, m);
            }
        }
        p.deviation.assign(n, 0.0);
        for (int f = 0; f < n; ++f)
            p.deviation[f] = 100 * U1(bt, bo, f, p.values[f]);
    }
};

// ---------------------------------------------------------------- family 2 ---------------
struct Family2 {
    static const int T = 16, O = 8, F = 256;
    // Indexed [t][o][f] through Idx: 32768 cells per table.
    std::vector<double> mn, sm, mean, mx, lo, up;
    std::vector<int> usedLo, usedUp, valid, state;
    std::vector<std::string> text;
    std::vector<bool> isText;  // set by the caller: which feature columns deliver text
    int cnt[T][O];
    int oris[T];
    int tol[T];
    bool data[T];
    std::vector<int> sep;  // [tA][tB][oA][oB]
    double thr[T][O];
    int nTypes = 0, nFeat = 0;
    std::string e20, e21;
    int error = 0;

    static int Idx(int t, int o, int f) { return (t * O + o) * F + f; }
    static int Sep(int a, int b, int i, int j) { return ((a * T + b) * O + i) * O + j; }

    Family2()
        : mn(T * O * F, 0),
          sm(T * O * F, 0),
          mean(T * O * F, 0),
          mx(T * O * F, 0),
          lo(T * O * F, 0),
          up(T * O * F, 0),
          usedLo(T * O * F, 0),
          usedUp(T * O * F, 0),
          valid(T * O * F, 0),
          state(T * O * F, 9),
          text(T * O * F),
          isText(F, false),
          sep(T * T * O * O, -1) {
        for (int t = 0; t < T; ++t) {
            oris[t] = 0;
            tol[t] = 5;
            data[t] = false;
            for (int o = 0; o < O; ++o) {
                cnt[t][o] = 0;
                thr[t][o] = 0;
            }
        }
    }

    void Teach(std::vector<Part>& parts) {
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    const int c = Idx(t, o, f);
                    sm[c] = 0;
                    mn[c] = lo[c] = 1e20;
                    mx[c] = up[c] = -1e20;
                }
        for (Part& p : parts) {
            const int t = p.type - 1, o = p.orientation - 1;
            const int n = static_cast<int>(p.values.size());
            if (n > nFeat) nFeat = n;
            cnt[t][o] += 1;
            if (o + 1 > oris[t]) oris[t] = o + 1;
            for (int f = 0; f < n; ++f) {
                const int c = Idx(t, o, f);
                if (p.valid[f]) {
                    valid[c] += 1;
                    if (isText[f]) {
                        if (!p.texts[f].empty()) {
                            if (text[c].empty())
                                text[c] = p.texts[f];
                            else if (text[c] != p.texts[f])
                                text[c] = "*";
                        }
                    } else {
                        sm[c] += p.values[f];
                        if (p.values[f] < mn[c]) mn[c] = p.values[f];
                        if (p.values[f] > mx[c]) mx[c] = p.values[f];
                    }
                }
                if (!p.valid[f] && state[c] == 9) state[c] = 8;
            }
            double largest = 0;
            for (int f = 0; f < n && cnt[t][o] >= 2; ++f) {
                const int c = Idx(t, o, f);
                double v;
                if (isText[f]) {
                    v = text[c] == "*" ? 1.0 : 0.0;
                } else {
                    const double s = sm[c] == 0 ? 0.01 : sm[c];
                    v = std::fabs((mx[c] - mn[c]) * valid[c] / s);
                }
                largest = std::max(largest, std::fabs(v));
            }
            p.r0 = 1;
            p.r1 = 1;
            p.r2 = cnt[t][o] >= 2 ? std::floor(100 * largest) : 0;
        }
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    const int c = Idx(t, o, f);
                    if (cnt[t][o] > 0 && f < nFeat && !isText[f])
                        mean[c] = valid[c] > 0 ? sm[c] / valid[c] : 0;
                    else
                        mean[c] = sm[c];
                }
        for (int t = 0; t < nTypes; ++t) {
            data[t] = false;
            for (int o = 0; o < std::max(oris[t], 1); ++o)
                for (int f = 0; f < nFeat; ++f) {
                    const int c = Idx(t, o, f);
                    if (std::min(mn[c], mean[c]) != 0 || mean[c] != 0 ||
                        std::max(mx[c], mean[c]) != 0 || (isText[f] && !text[c].empty()))
                        data[t] = true;
                }
        }
        for (Part& p : parts) {
            const int t = p.type - 1, o = p.orientation - 1;
            const int n = static_cast<int>(p.values.size());
            p.deviation.assign(n, 0.0);
            for (int f = 0; f < n; ++f) {
                const int c = Idx(t, o, f);
                if (!p.valid[f] || isText[f]) continue;
                const double v = p.values[f], m = mean[c];
                double d = 0;
                if (!(std::fabs(v - m) < 0.0001)) {
                    if (v > m)
                        d = mx[c] - m == 0 ? 0 : (v - m) / (mx[c] - m);
                    else
                        d = m - mn[c] == 0 ? 0 : -(m - v) / (m - mn[c]);
                }
                p.deviation[f] = 100 * d;
            }
        }
        Separate();
        Bands();
    }

    void Reload() {
        for (int t = 0; t < nTypes; ++t)
            for (int o = 0; o < oris[t]; ++o)
                for (int f = 0; f < nFeat; ++f) {
                    const int c = Idx(t, o, f);
                    if (isText[f]) {
                        mn[c] = mean[c] = mx[c] = 0;
                    } else {
                        mn[c] = std::min(mn[c], mean[c]);
                        mx[c] = std::max(mx[c], mean[c]);
                    }
                }
        // Bounds are rebuilt from the reset state.
        for (int c = 0; c < T * O * F; ++c) {
            lo[c] = 1e20;
            up[c] = -1e20;
        }
        std::fill(sep.begin(), sep.end(), -1);
        Separate();
        Bands();
    }

    bool Compared(int tA, int oA, int tB, int oB) const {
        if (!data[tA] || !data[tB]) return false;
        if (oA >= oris[tA] || oB >= oris[tB]) return false;
        if (tA == tB) return oA == 0 && oB != 0;
        return tA < tB;
    }

    double S(int a, int b, int f) const {
        const bool va = state[a] == 9 || state[a] == 11, vb = state[b] == 9 || state[b] == 11;
        if (!va || !vb) return -5;  // a feature invalid in a class takes no part
        if (isText[f]) return -1;
        const double D = std::fabs(mean[a]) + std::fabs(mean[b]);
        if (mn[a] > mx[b]) return (mn[a] - mx[b]) / D;
        if (mn[b] > mx[a]) return (mn[b] - mx[a]) / D;
        return -1;
    }

    void Separate() {
        e20.clear();
        e21.clear();
        bool has20 = false, has21 = false;
        for (int tA = 0; tA < nTypes; ++tA)
            for (int tB = tA; tB < nTypes; ++tB)
                for (int oA = 0; oA < O; ++oA)
                    for (int oB = 0; oB < O; ++oB) {
                        if (!Compared(tA, oA, tB, oB)) continue;
                        double best = -1;
                        int bestF = -1;
                        for (int f = 0; f < nFeat; ++f) {
                            const double s = S(Idx(tA, oA, f), Idx(tB, oB, f), f);
                            if (s > best) {
                                best = s;
                                bestF = f;
                            }
                        }
                        sep[Sep(tA, tB, oA, oB)] = bestF;
                        sep[Sep(tB, tA, oB, oA)] = bestF;
                        if (bestF < 0) {
                            if (tA == tB) {
                                e20 += Pair(tA, oA, tB, oB);
                                has20 = true;
                            } else {
                                e21 += Pair(tA, oA, tB, oB);
                                has21 = true;
                            }
                        }
                    }
        error = has20 ? 20 : has21 ? 21 : 0;
    }

    double W(int c, int k) const { return std::fabs(mean[c]) * k / 100.0; }
    double U(int c) const { return std::fabs(mean[c]) / 100.0; }
    static int Units(double distance, double unit) {
        if (!(unit > 0)) return 0;
        const double q = distance / unit;
        if (!(q > 0)) return 0;
        return q >= 255 ? 255 : (int)q;
    }

    void Bands() {
        struct P {
            int a, b, tA, tB;
        };
        std::vector<P> pairs;
        for (int tA = 0; tA < nTypes; ++tA)
            for (int tB = tA; tB < nTypes; ++tB)
                for (int oA = 0; oA < O; ++oA)
                    for (int oB = 0; oB < O; ++oB) {
                        if (!Compared(tA, oA, tB, oB)) continue;
                        const int f = sep[Sep(tA, tB, oA, oB)];
                        if (f < 0 || isText[f]) continue;
                        pairs.push_back({Idx(tA, oA, f), Idx(tB, oB, f), tA, tB});
                    }
        auto overlap = [&](const P& p) { return lo[p.a] <= up[p.b] && lo[p.b] <= up[p.a]; };
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    const int c = Idx(t, o, f);
                    usedLo[c] = usedUp[c] = tol[t];
                    if (isText[f]) continue;
                    up[c] = mx[c] + W(c, tol[t]);
                    lo[c] = mn[c] - W(c, tol[t]);
                }
        for (const P& p : pairs) {
            if (!overlap(p)) continue;
            int kA = tol[p.tA], kB = tol[p.tB];
            while (kA != 0 || kB != 0) {
                if (kA > kB)
                    kA--;
                else if (kB > kA)
                    kB--;
                else {
                    kA--;
                    kB--;
                }
                const double upA = mx[p.a] + W(p.a, kA), upB = mx[p.b] + W(p.b, kB);
                const double loA = mn[p.a] - W(p.a, kA), loB = mn[p.b] - W(p.b, kB);
                if (upA < loB) {
                    up[p.a] = std::min(up[p.a], upA);
                    break;
                }
                if (upB < loA) {
                    up[p.b] = std::min(up[p.b], upB);
                    break;
                }
            }
            usedUp[p.a] = std::min(usedUp[p.a], kA);
            usedUp[p.b] = std::min(usedUp[p.b], kB);
        }
        for (const P& p : pairs) {
            if (!overlap(p)) continue;
            const int h = mn[p.b] <= mx[p.a] ? p.a : p.b;
            const int l = h == p.a ? p.b : p.a;
            const int q = Units(mn[h] - up[l], U(h));
            lo[h] = mn[h] - W(h, q);
            usedLo[h] = std::min(usedLo[h], q);
        }
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                for (int f = 0; f < F; ++f) {
                    const int c = Idx(t, o, f);
                    usedUp[c] = tol[t];
                    if (!isText[f]) up[c] = mx[c] + W(c, tol[t]);
                }
        for (const P& p : pairs) {
            if (!overlap(p)) continue;
            const int l = mn[p.b] <= mx[p.a] ? p.b : p.a;
            const int h = l == p.a ? p.b : p.a;
            const int q = Units(lo[h] - mx[l], U(l));
            up[l] = mx[l] + W(l, q);
            usedUp[l] = std::min(usedUp[l], q);
        }
        for (int t = 0; t < T; ++t)
            for (int o = 0; o < O; ++o)
                thr[t][o] = 0;
        for (int t = 0; t < nTypes; ++t)
            for (int o = 1; o < oris[t]; ++o) {
                const int f = sep[Sep(t, t, 0, o)];
                if (f < 0 || isText[f]) continue;
                const int a = Idx(t, 0, f), b = Idx(t, o, f);
                thr[t][o] = mean[a] <= mean[b] ? (up[a] + lo[b]) / 2 : (lo[a] + up[b]) / 2;
            }
    }

    double U2(int c, int f, const Part& p) const {
        if (!p.valid[f]) return (state[c] == 9 || state[c] == 11) ? 9.9999 : 0;
        if (isText[f]) {
            const std::string& ct = text[c];
            const std::string& pt = p.texts[f];
            if (ct.empty() || ct == "*" || ct == pt) return 0;
            if (ct.size() == pt.size()) {
                size_t i = 0;
                while (ct[i] == pt[i])
                    i++;
                return 1 + (double)(i + 1) / 100;
            }
            const double d = std::fabs((double)ct.size() - (double)pt.size());
            return pt.size() < ct.size() ? -(10 + d / 100) : 10 + d / 100;
        }
        const double v = p.values[f], m = mean[c];
        if (std::fabs(v - m) < 0.000002) return 0;
        if (v > m) return up[c] - m == 0 ? 1000 : (v - m) / (up[c] - m);
        return m - lo[c] == 0 ? -1000 : -(m - v) / (m - lo[c]);
    }

    void Classify(Part& p) const {
        const int n = static_cast<int>(p.values.size());
        int bt = -1, bo = -1;
        double bh = 3.4e38, bs = 3.4e38;
        bool stop = false;
        for (int t = 0; t < nTypes && !stop; ++t)
            for (int o = 0; o < oris[t] && !stop; ++o) {
                double h = 0, s = 0;
                for (int f = 0; f < n; ++f) {
                    const double u = std::fabs(U2(Idx(t, o, f), f, p));
                    h = std::max(h, u);
                    s += u;
                }
                const bool in = h <= 1.000002;
                if (in || s < bs) {
                    bt = t, bo = o, bh = h, bs = s;
                }
                if (in) stop = true;
            }
        p.resultType = bt + 1;
        p.resultOrientation = bo + 1;
        p.r0 = std::min(100 * bh, 999.0);
        p.r2 = bh <= 1.000002 ? 1 : 0;
        p.tolerance = tol[bt];
        p.r1 = 0;
        if (oris[bt] > 1) {
            for (int k = 1; k < oris[bt]; ++k) {
                if (bo != 0 && k != bo) continue;
                const int f = sep[Sep(bt, bt, 0, k)];
                if (f < 0 || isText[f]) continue;
                const double w = std::max(up[Idx(bt, k, f)] - lo[Idx(bt, k, f)],
                                          up[Idx(bt, 0, f)] - lo[Idx(bt, 0, f)]);
                const double x = 25 * w / std::fabs(p.values[f] - thr[bt][k]);
                const double m = (std::isnan(x) || x >= 999) ? 999 : x <= 0 ? 0 : std::floor(x);
                p.r1 = std::max(p.r1, m);
            }
        }
        p.deviation.assign(n, 0.0);
        for (int f = 0; f < n; ++f)
            p.deviation[f] = 100 * U2(Idx(bt, bo, f), f, p);
    }
};

}  // namespace Reference

#include "model/coordtrans/OCoordTrans_SmallSvd.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int kMaxSweeps = 80;
constexpr double kOrthogonalityTolerance = 1e-15;

}  // namespace

bool OCoordTrans_SmallSvd::bCompute(std::span<const double> a, size_t rows, size_t cols) {
    if (rows == 0 || cols == 0 || cols > kMaxCols || a.size() != rows * cols) return false;
    for (double value : a) {
        if (!std::isfinite(value)) return false;
    }
    m_rows = rows;
    m_cols = cols;
    m_work.assign(rows * cols, 0.0);
    for (size_t j = 0; j < cols; ++j) {
        double norm2 = 0.0;
        for (size_t i = 0; i < rows; ++i)
            norm2 += a[i * cols + j] * a[i * cols + j];
        m_scale[j] = norm2 > 0.0 ? std::sqrt(norm2) : 1.0;
        for (size_t i = 0; i < rows; ++i)
            m_work[j * rows + i] = a[i * cols + j] / m_scale[j];
        for (size_t k = 0; k < cols; ++k)
            m_v[k][j] = k == j ? 1.0 : 0.0;
    }

    for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        bool rotated = false;
        for (size_t p = 0; p + 1 < cols; ++p) {
            for (size_t q = p + 1; q < cols; ++q) {
                double* cp = &m_work[p * rows];
                double* cq = &m_work[q * rows];
                double alpha = 0.0, beta = 0.0, gamma = 0.0;
                for (size_t i = 0; i < rows; ++i) {
                    alpha += cp[i] * cp[i];
                    beta += cq[i] * cq[i];
                    gamma += cp[i] * cq[i];
                }
                if (gamma == 0.0 ||
                    std::fabs(gamma) <= kOrthogonalityTolerance * std::sqrt(alpha * beta))
                    continue;
                rotated = true;
                const double zeta = (beta - alpha) / (2.0 * gamma);
                const double t =
                    (zeta >= 0 ? 1.0 : -1.0) / (std::fabs(zeta) + std::hypot(1.0, zeta));
                const double c = 1.0 / std::hypot(1.0, t);
                const double s = c * t;
                for (size_t i = 0; i < rows; ++i) {
                    const double x = cp[i], y = cq[i];
                    cp[i] = c * x - s * y;
                    cq[i] = s * x + c * y;
                }
                for (size_t k = 0; k < cols; ++k) {
                    const double x = m_v[k][p], y = m_v[k][q];
                    m_v[k][p] = c * x - s * y;
                    m_v[k][q] = s * x + c * y;
                }
            }
        }
        if (!rotated) break;
    }

    for (size_t j = 0; j < cols; ++j) {
        double norm2 = 0.0;
        for (size_t i = 0; i < rows; ++i)
            norm2 += m_work[j * rows + i] * m_work[j * rows + i];
        m_sigma[j] = std::sqrt(norm2);
    }
    std::iota(m_order, m_order + cols, size_t{0});
    std::sort(m_order, m_order + cols,
              [this](size_t l, size_t r) { return m_sigma[l] > m_sigma[r]; });
    return true;
}

double OCoordTrans_SmallSvd::dSingularValue(size_t k) const {
    return k < m_cols ? m_sigma[m_order[k]] : 0.0;
}

double OCoordTrans_SmallSvd::dRelativeSingularValue(size_t k) const {
    const double largest = dSingularValue(0);
    return largest > 0.0 ? dSingularValue(k) / largest : 0.0;
}

bool OCoordTrans_SmallSvd::bSolveLeastSquares(std::span<const double> b, double relTolerance,
                                              std::span<double> x) const {
    if (m_cols == 0 || b.size() != m_rows || x.size() != m_cols) return false;
    if (!(dRelativeSingularValue(m_cols - 1) > relTolerance)) return false;
    double scaled[kMaxCols]{};
    for (size_t j = 0; j < m_cols; ++j) {
        // u_j^T b / sigma_j with u_j = work_j / sigma_j.
        const double* cj = &m_work[j * m_rows];
        double dot = 0.0;
        for (size_t i = 0; i < m_rows; ++i)
            dot += cj[i] * b[i];
        const double coefficient = dot / (m_sigma[j] * m_sigma[j]);
        for (size_t k = 0; k < m_cols; ++k)
            scaled[k] += coefficient * m_v[k][j];
    }
    for (size_t k = 0; k < m_cols; ++k) {
        x[k] = scaled[k] / m_scale[k];
        if (!std::isfinite(x[k])) return false;
    }
    return true;
}

bool OCoordTrans_SmallSvd::bNullVector(double relTolerance, std::span<double> v) const {
    if (m_cols < 2 || v.size() != m_cols) return false;
    if (!(dRelativeSingularValue(m_cols - 2) > relTolerance)) return false;
    const size_t j = m_order[m_cols - 1];
    double norm2 = 0.0;
    for (size_t k = 0; k < m_cols; ++k) {
        v[k] = m_v[k][j] / m_scale[k];
        norm2 += v[k] * v[k];
    }
    if (!(norm2 > 0.0) || !std::isfinite(norm2)) return false;
    const double norm = std::sqrt(norm2);
    for (size_t k = 0; k < m_cols; ++k)
        v[k] /= norm;
    return true;
}

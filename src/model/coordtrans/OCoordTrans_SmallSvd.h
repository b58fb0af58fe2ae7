// Singular value decomposition of a tall dense matrix with few columns (the linear steps
// of camera calibration), by one-sided Jacobi rotations on the column-equilibrated
// matrix. Works on the matrix itself rather than its normal equations, so the condition
// number is not squared.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

class OCoordTrans_SmallSvd {
  public:
    static constexpr size_t kMaxCols = 6;

    // `a` holds rows x cols values, row by row. False for an empty or too wide matrix or
    // non-finite entries.
    bool bCompute(std::span<const double> a, size_t rows, size_t cols);

    size_t iCols() const { return m_cols; }
    // Singular values of the equilibrated matrix, largest first.
    double dSingularValue(size_t k) const;
    // Smallest singular value relative to the largest (0 for a zero matrix).
    double dRelativeSingularValue(size_t k) const;

    // Least-squares solution of min |A x - b|; false when a singular value falls below
    // relTolerance times the largest (rank-deficient system).
    bool bSolveLeastSquares(std::span<const double> b, double relTolerance,
                            std::span<double> x) const;
    // Unit vector v minimising |A v| (the right singular vector of the smallest singular
    // value). False when the second-smallest singular value also falls below relTolerance
    // times the largest, i.e. the solution would not be unique up to scale. How small
    // the smallest value is, is for the caller to judge.
    bool bNullVector(double relTolerance, std::span<double> v) const;

  private:
    size_t m_rows = 0;
    size_t m_cols = 0;
    std::vector<double> m_work;        // column by column: A * D^-1 * V
    double m_v[kMaxCols][kMaxCols]{};  // right singular vectors as columns
    double m_scale[kMaxCols]{};        // column norms D of the input
    double m_sigma[kMaxCols]{};
    size_t m_order[kMaxCols]{};  // columns by decreasing singular value
};

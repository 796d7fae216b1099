#include "plot/core/PlotInterpolation.h"

#include <algorithm>
#include <cmath>

namespace ondrix {

namespace {

bool Natural(double slope) { return slope >= kSplineNaturalEnd; }

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// The sample nearest to `at`: Neville's tableau starts from it, which keeps its error small.
size_t Nearest(const double* x, size_t count, double at) {
    size_t nearest = 0;
    for (size_t i = 1; i < count; ++i) {
        if (std::fabs(at - x[i]) < std::fabs(at - x[nearest])) nearest = i;
    }
    return nearest;
}

}  // namespace

// The tridiagonal system of the spline's second derivatives, solved by one sweep down (u keeps
// the decomposed right-hand side) and one back.
std::vector<double> SplineSecondDerivatives(const std::vector<double>& x, const std::vector<double>& y,
                                            double startSlope, double endSlope) {
    const size_t n = x.size();
    std::vector<double> d2(n, 0.0);
    std::vector<double> u(n, 0.0);
    if (!Natural(startSlope)) {
        d2[0] = -0.5;
        u[0] = (3.0 / (x[1] - x[0])) * ((y[1] - y[0]) / (x[1] - x[0]) - startSlope);
    }
    for (size_t i = 1; i + 1 < n; ++i) {
        const double sig = (x[i] - x[i - 1]) / (x[i + 1] - x[i - 1]);
        const double p = sig * d2[i - 1] + 2.0;
        d2[i] = (sig - 1.0) / p;
        const double slopeChange = (y[i + 1] - y[i]) / (x[i + 1] - x[i]) - (y[i] - y[i - 1]) / (x[i] - x[i - 1]);
        u[i] = (6.0 * slopeChange / (x[i + 1] - x[i - 1]) - sig * u[i - 1]) / p;
    }
    double qn = 0.0, un = 0.0;
    if (!Natural(endSlope)) {
        const double h = x[n - 1] - x[n - 2];
        qn = 0.5;
        un = (3.0 / h) * (endSlope - (y[n - 1] - y[n - 2]) / h);
    }
    d2[n - 1] = (un - qn * u[n - 2]) / (qn * d2[n - 2] + 1.0);
    for (size_t k = n - 1; k-- > 0;) d2[k] = d2[k] * d2[k + 1] + u[k];
    return d2;
}

double SplineValue(const std::vector<double>& x, const std::vector<double>& y,
                   const std::vector<double>& secondDerivatives, double at) {
    // The piece [lo, lo + 1] holding `at`, or the end piece nearest to it.
    const size_t upper = static_cast<size_t>(std::upper_bound(x.begin(), x.end(), at) - x.begin());
    const size_t lo = std::min(upper > 0 ? upper - 1 : 0, x.size() - 2);
    const size_t hi = lo + 1;
    const double h = x[hi] - x[lo];
    const double a = (x[hi] - at) / h;
    const double b = (at - x[lo]) / h;
    return a * y[lo] + b * y[hi] +
           ((a * a * a - a) * secondDerivatives[lo] + (b * b * b - b) * secondDerivatives[hi]) * h * h / 6.0;
}

// Neville's tableau: c and d hold the corrections towards the next higher degree; the walk
// through the tableau starts at the nearest sample and takes the straightest path.
std::optional<double> PolynomialValue(const double* x, const double* y, size_t count, double at) {
    if (count == 0) return std::nullopt;
    std::vector<double> c(y, y + count);
    std::vector<double> d(y, y + count);
    long ns = static_cast<long>(Nearest(x, count, at));
    double value = y[ns--];
    const long n = static_cast<long>(count);
    for (long m = 1; m < n; ++m) {
        for (long i = 0; i < n - m; ++i) {
            const double ho = x[i] - at;
            const double hp = x[i + m] - at;
            const double den = ho - hp;
            if (den == 0.0) return std::nullopt;
            const double w = (c[i + 1] - d[i]) / den;
            d[i] = hp * w;
            c[i] = ho * w;
        }
        value += 2 * (ns + 1) < n - m ? c[ns + 1] : d[ns--];
    }
    return Finite(value);
}

// Barycentric form: r(at) = sum(w[k] y[k] / (at - x[k])) / sum(w[k] / (at - x[k])), with
// w[k] = (-1)^k times the sum, over the blended polynomials i = k - d .. k that hold sample k,
// of 1 / prod(|x[k] - x[j]|, j = i .. i + d, j != k).
std::optional<double> RationalValue(const double* x, const double* y, size_t count, double at, int blendDegree) {
    if (count == 0 || blendDegree < 0) return std::nullopt;
    const long n = static_cast<long>(count);
    const long d = std::min<long>(blendDegree, n - 1);
    for (long k = 0; k < n; ++k) {
        if (x[k] == at) return y[k];
    }
    double numerator = 0, denominator = 0;
    for (long k = 0; k < n; ++k) {
        double weight = 0;
        for (long i = std::max(0L, k - d); i <= std::min(k, n - 1 - d); ++i) {
            double product = 1;
            for (long j = i; j <= i + d; ++j) {
                if (j == k) continue;
                if (x[k] == x[j]) return std::nullopt;
                product /= std::fabs(x[k] - x[j]);
            }
            weight += product;
        }
        if (k % 2 == 1) weight = -weight;
        const double term = weight / (at - x[k]);
        numerator += term * y[k];
        denominator += term;
    }
    return Finite(numerator / denominator);
}

}  // namespace ondrix

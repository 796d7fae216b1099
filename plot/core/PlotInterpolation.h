#pragma once
// Curves through sample points, for the interpolated trace styles: a cubic spline, polynomial
// interpolation (Neville) and pole-free barycentric rational interpolation. Pure functions of
// the samples; the drawing decides which samples it hands over.

#include <cstddef>
#include <optional>
#include <vector>

namespace ondrix {

// An end slope at or beyond this value leaves the spline's end free (second derivative 0): a
// natural spline.
constexpr double kSplineNaturalEnd = 1e30;

// The second derivatives of the cubic spline through (x[i], y[i]), one per sample. x must rise
// strictly and hold at least 2 samples, y as many. The end slopes fix the first derivative at
// the first and the last sample unless they are natural.
std::vector<double> SplineSecondDerivatives(const std::vector<double>& x, const std::vector<double>& y,
                                            double startSlope = kSplineNaturalEnd,
                                            double endSlope = kSplineNaturalEnd);

// The spline at `at`, from the samples and their second derivatives; beyond the samples the end
// pieces continue.
double SplineValue(const std::vector<double>& x, const std::vector<double>& y,
                   const std::vector<double>& secondDerivatives, double at);

// The polynomial of degree count - 1 through the `count` samples, at `at`; no value when two
// samples share an X or the result is not finite.
std::optional<double> PolynomialValue(const double* x, const double* y, size_t count, double at);

// The barycentric rational function through the `count` samples that blends the polynomials
// of degree `blendDegree` through each run of blendDegree + 1 neighbouring samples (at most
// count - 1; with it the result is the polynomial through all samples). For samples in rising
// order it has no pole on the real line, however the samples lie. Exact at a sample's X; no value
// when two samples share an X or the result is not finite.
std::optional<double> RationalValue(const double* x, const double* y, size_t count, double at, int blendDegree = 3);

}  // namespace ondrix

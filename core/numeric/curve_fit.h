#pragma once
// TCurveFit: accumulates (x, y) points and answers the least-squares straight line,
// the least-squares polynomial up to degree 8, and the cubic spline through the points.
// Running power sums make the line and the polynomial a single pass over the data;
// the points themselves are kept for the spline, which is built on first demand.
#include <cstdint>
#include <vector>

#include "core/numeric/matrix.h"
#include "core/numeric/vector.h"

namespace kolma {

inline constexpr const char* kSplineNotDistinct = "CubicSpline: the tabulated values are not distinct";

class TCurveFit {
 public:
  static constexpr int kMaxDegree = 8;        // the moments reach sum(y * x^8)
  static constexpr int kPowerSums = 18;       // sum(x^0) .. sum(x^17)
  static constexpr int kMoments = 9;          // sum(y * x^0) .. sum(y * x^8)
  static constexpr int kStoreGrowth = 1000;   // rows added to the point store at a time

  TCurveFit() = default;  // empty, natural ends

  // Forgets every point and zeroes every sum.
  void InitFit();
  void AddPoint(double x, double y);
  int NumberOfPoints() const { return count_; }

  // Least-squares line y = slope * x + intercept. With fewer than two points all
  // outputs are 0. When all x are equal no line is defined: the horizontal line
  // through the mean of y is returned, with r2 0 (1 if all y are equal too).
  void LinearFit(double& slope, double& intercept, double& r2) const;

  // Least-squares polynomial y = c[0] + c[1] x + ... + c[d] x^d; c must hold d + 1
  // values. False, outputs untouched, when d >= NumberOfPoints() or d > 8. False with
  // c all 0 when the normal matrix is singular.
  bool PolynomialFit(std::uint8_t degree, double* c, double& r2) const;
  bool PolynomialFit(std::uint8_t degree, std::vector<double>& c, double& r2) const;

  // Value of the cubic spline through the points; beyond the points the end
  // interval's cubic is extended. Throws ECurveFitError when fewer than two points
  // were added or when the interval around x has (nearly) coincident ends.
  double SplineValue(double x);

  // End conditions: natural (second derivative 0) by default, else the first
  // derivative is imposed. Changing one makes the next SplineValue rebuild.
  bool NaturalLowerEnd() const { return naturalLower_; }
  bool NaturalUpperEnd() const { return naturalUpper_; }
  double LowerEndSlope() const { return lowerSlope_; }
  double UpperEndSlope() const { return upperSlope_; }
  void SetNaturalLowerEnd(bool value) { naturalLower_ = value; splineCurrent_ = false; }
  void SetNaturalUpperEnd(bool value) { naturalUpper_ = value; splineCurrent_ = false; }
  void SetLowerEndSlope(double value) { lowerSlope_ = value; splineCurrent_ = false; }
  void SetUpperEndSlope(double value) { upperSlope_ = value; splineCurrent_ = false; }

  // Running sums, for inspection.
  double SumX() const { return sumX_; }
  double SumY() const { return sumY_; }
  double SumX2() const { return sumX2_; }
  double SumY2() const { return sumY2_; }
  double SumXY() const { return sumXY_; }
  const TVector& PowerSums() const { return powerSums_; }  // element k = sum(x^(k-1))
  const TVector& Moments() const { return moments_; }      // element k = sum(y * x^(k-1))
  const TMatrix& Points() const { return points_; }        // column 1 x, column 2 y, row p = point p

 private:
  void BuildSpline();

  int count_ = 0;
  double sumX_ = 0, sumY_ = 0, sumX2_ = 0, sumY2_ = 0, sumXY_ = 0;
  TVector powerSums_{kPowerSums};
  TVector moments_{kMoments};
  TMatrix points_{2, kStoreGrowth};

  bool naturalLower_ = true;
  bool naturalUpper_ = true;
  double lowerSlope_ = 0;
  double upperSlope_ = 0;

  TVector splineX_;   // x sorted ascending
  TVector splineY_;   // y in the order of splineX_
  TVector splineY2_;  // second derivatives at the points
  bool splineCurrent_ = false;
};

}  // namespace kolma

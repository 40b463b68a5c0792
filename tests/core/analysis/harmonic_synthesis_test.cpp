#include "core/analysis/harmonic_synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace kolma {
namespace {

std::vector<HarmonicTerm> RandomTerms(std::mt19937& rng, int count, std::int64_t maxBin) {
  std::uniform_int_distribution<std::int64_t> bin(0, maxBin);
  std::uniform_real_distribution<double> coefficient(-3.0, 3.0);
  std::vector<HarmonicTerm> terms;
  for (int i = 0; i < count; ++i) terms.push_back({bin(rng), coefficient(rng), coefficient(rng)});
  return terms;
}

double Scale(const std::vector<HarmonicTerm>& terms) {
  double s = 0.0;
  for (const HarmonicTerm& t : terms) s += std::abs(t.a) + std::abs(t.b);
  return s;
}

// Fast and literal sums agree to 1e-9 of the sum of the coefficients' magnitudes.
void ExpectSameSums(const std::vector<HarmonicTerm>& terms, std::size_t steps, double step, double period) {
  std::vector<double> fast(steps, 0.5), literal(steps, 0.5);
  AddHarmonicSum(terms, step, period, fast);
  AddHarmonicSumLiteral(terms, step, period, literal);
  const double tolerance = 1e-9 * std::max(Scale(terms), 1.0);
  double worst = 0.0;
  for (std::size_t m = 0; m < steps; ++m) worst = std::max(worst, std::abs(fast[m] - literal[m]));
  EXPECT_LE(worst, tolerance) << terms.size() << " terms, " << steps << " steps";
}

TEST(HarmonicSynthesis, FastSumMatchesTheTermByTermSum) {
  std::mt19937 rng(1234);
  // Small cases, bins below and beyond the number of steps.
  ExpectSameSums(RandomTerms(rng, 5, 7), 12, 1.0, 16.0);
  ExpectSameSums(RandomTerms(rng, 9, 300), 20, 3.0, 96.0);
  // One step only, one term, the mean alone.
  ExpectSameSums(RandomTerms(rng, 30, 64), 1, 1.0, 128.0);
  ExpectSameSums({{17, 2.0, -1.0}}, 50, 2.5, 333.3);
  ExpectSameSums({{0, 4.25, 9.0}}, 10, 1.0, 10.0);
  // Medium: a record of hourly steps over a padded period that no step divides evenly.
  ExpectSameSums(RandomTerms(rng, 400, 4000), 3000, 1.0, 5123.7);
  ExpectSameSums(RandomTerms(rng, 200, 9000), 700, 24.0, 25260.0);
  // Few bins and many steps: the sum is done in chunks.
  ExpectSameSums(RandomTerms(rng, 6, 12), 30000, 0.7, 91.0);
}

TEST(HarmonicSynthesis, FoldsNegativeBinsAndAddsRepeatedOnes) {
  const std::vector<HarmonicTerm> terms = {{-3, 1.0, 2.0}, {3, 0.5, -1.0}, {3, 0.25, 0.5}};
  ExpectSameSums(terms, 40, 1.0, 17.0);
  std::vector<double> out(40, 0.0);
  AddHarmonicSum(terms, 1.0, 17.0, out);
  // cos(-x) = cos(x), sin(-x) = -sin(x): 1.75 cos(x) - 2.5 sin(x) in all.
  for (int m = 0; m < 40; ++m) {
    const double x = 2 * std::numbers::pi * 3 * m / 17.0;
    EXPECT_NEAR(out[static_cast<size_t>(m)], 1.75 * std::cos(x) - 2.5 * std::sin(x), 1e-12);
  }
}

TEST(HarmonicSynthesis, OnePlanServesManyCoefficientSetsAndStrides) {
  std::mt19937 rng(99);
  const std::int64_t bins = 150;
  const std::size_t steps = 257;
  THarmonicSumPlan plan(bins, static_cast<std::int64_t>(steps), 6.0, 1200.0);
  std::normal_distribution<double> normal;
  std::vector<double> strided(steps * 3, 0.0);
  for (int set = 0; set < 3; ++set) {
    std::vector<std::complex<double>> c(bins);
    std::vector<HarmonicTerm> terms;
    for (std::int64_t k = 0; k < bins; ++k) {
      c[static_cast<size_t>(k)] = {normal(rng), normal(rng)};
      terms.push_back({k, c[static_cast<size_t>(k)].real(), -c[static_cast<size_t>(k)].imag()});
    }
    plan.Add(c.data(), strided.data() + set, 3);
    std::vector<double> literal(steps, 0.0);
    AddHarmonicSumLiteral(terms, 6.0, 1200.0, literal);
    for (std::size_t m = 0; m < steps; ++m) EXPECT_NEAR(strided[3 * m + set], literal[m], 1e-9 * Scale(terms));
  }
}

// The direct road and the transform road are two ways of the same sum: on a case cheap for
// both (a few terms among many bins, several points written with their own strides, a record
// longer than one block of the direct road and than one chunk of the transforms) they agree,
// and both with the term-by-term sum.
TEST(HarmonicSynthesis, DirectAndTransformRoadsGiveTheSameSums) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<std::int64_t> bin(1, 3000);
  std::normal_distribution<double> normal(0.0, 4.0);
  const std::vector<std::int64_t> bins = {bin(rng), bin(rng), bin(rng), 7, bin(rng), 2999, bin(rng), 1};
  const std::int64_t steps = 20011, points = 3;
  const double step = 1.0, period = 26280.5;
  std::vector<std::complex<double>> coefficients;
  for (std::int64_t i = 0; i < points * static_cast<std::int64_t>(bins.size()); ++i)
    coefficients.push_back({normal(rng), normal(rng)});

  std::vector<std::vector<double>> sums;
  for (TSynthesisRoad road : {TSynthesisRoad::Direct, TSynthesisRoad::Transform}) {
    THarmonicSynthesis synthesis(bins, steps, step, period, points, road);
    ASSERT_EQ(synthesis.Road(), road);
    std::vector<double> out(static_cast<size_t>(steps * points), 1.0);
    std::vector<TSynthesisTarget> targets;
    for (std::int64_t p = 0; p < points; ++p) targets.push_back({out.data() + p, points});
    double last = 0.0;
    EXPECT_TRUE(synthesis.Add(coefficients, targets, [&last](double done) { return (last = done, true); }));
    EXPECT_EQ(last, 1.0);
    sums.push_back(out);
  }
  double worst = 0.0;
  for (size_t i = 0; i < sums[0].size(); ++i) worst = std::max(worst, std::abs(sums[0][i] - sums[1][i]));
  EXPECT_LE(worst, 1e-9);

  std::vector<HarmonicTerm> terms;
  for (size_t h = 0; h < bins.size(); ++h)
    terms.push_back({bins[h], coefficients[points * bins.size() - bins.size() + h].real(),
                     -coefficients[points * bins.size() - bins.size() + h].imag()});
  std::vector<double> literal(static_cast<size_t>(steps), 1.0);
  AddHarmonicSumLiteral(terms, step, period, literal);
  for (std::int64_t m = 0; m < steps; m += 997) EXPECT_NEAR(sums[0][m * points + points - 1], literal[m], 1e-9);
}

// The cheaper road: the terms one by one for a few harmonics among many bins (a decade of
// hourly steps keeping 53), the transforms when most bins hold a term (a year at the largest
// harmonic count); and a stop asked for on the way is obeyed.
TEST(HarmonicSynthesis, TakesTheCheaperRoadAndStopsWhenAsked) {
  EXPECT_EQ(CheaperSynthesisRoad(53, 4350, 87600, 61), TSynthesisRoad::Direct);
  EXPECT_EQ(CheaperSynthesisRoad(8000, 8192, 8760, 61), TSynthesisRoad::Transform);
  EXPECT_EQ(CheaperSynthesisRoad(2000, 4096, 8760, 61), TSynthesisRoad::Transform);

  for (TSynthesisRoad road : {TSynthesisRoad::Direct, TSynthesisRoad::Transform}) {
    THarmonicSynthesis synthesis({3, 40}, 50000, 1.0, 977.0, 2, road);
    std::vector<double> a(50000), b(50000);
    int calls = 0;
    EXPECT_FALSE(synthesis.Add({{1, 0}, {0, 1}, {1, 1}, {2, 0}}, {{a.data(), 1}, {b.data(), 1}},
                               [&calls](double) { return ++calls < 1; }));
    EXPECT_EQ(calls, 1);
  }
}

}  // namespace
}  // namespace kolma

#include "tests/signal/analysis.h"

#include <fftw3.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace raziz::test {
namespace {

double bessel_i0(double x) {
  double sum = 1.0, term = 1.0;
  for (int k = 1; k < 500; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
    if (term < sum * 1e-17) break;
  }
  return sum;
}

}  // namespace

std::vector<double> kaiser_window(int n, double beta) {
  std::vector<double> w(n);
  const double norm = bessel_i0(beta);
  for (int i = 0; i < n; ++i) {
    const double r = 2.0 * i / (n - 1) - 1.0;
    w[i] = bessel_i0(beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / norm;
  }
  return w;
}

std::vector<double> power_spectrum(const std::vector<double>& x, const std::vector<double>& w) {
  const int n = static_cast<int>(x.size());
  double* in = fftw_alloc_real(n);
  fftw_complex* out = fftw_alloc_complex(n / 2 + 1);
  fftw_plan plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
  double sum_w2 = 0.0;
  for (int i = 0; i < n; ++i) {
    in[i] = x[i] * w[i];
    sum_w2 += w[i] * w[i];
  }
  fftw_execute(plan);
  std::vector<double> p(n / 2 + 1);
  // Parseval with the window's energy: a sinusoid's main lobe sums to its power A^2/2.
  const double scale = 2.0 / (sum_w2 * n);
  for (int k = 0; k <= n / 2; ++k) p[k] = (out[k][0] * out[k][0] + out[k][1] * out[k][1]) * scale;
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
  return p;
}

Component component_at(const std::vector<double>& x, const std::vector<double>& w, double hz, double rate,
                       double start_sample) {
  double re = 0.0, im = 0.0, sum_w = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    // (n * hz) is exact for a float hz and n below 2^29, so the reference phase carries no error.
    const double cycles = std::fmod((start_sample + static_cast<double>(i)) * hz, rate) / rate;
    const double angle = 2.0 * std::numbers::pi * cycles;
    re += w[i] * x[i] * std::sin(angle);
    im += w[i] * x[i] * std::cos(angle);
    sum_w += w[i];
  }
  Component c;
  c.amplitude = 2.0 * std::hypot(re, im) / sum_w;
  c.phase = std::atan2(im, re);
  return c;
}

SineFit fit_sine(const std::vector<double>& x, double hz, double rate) {
  // Normal equations for x ~ a sin + b cos + c, solved in closed form with Cramer's rule.
  double ss = 0, sc = 0, s1 = 0, cc = 0, c1 = 0, n1 = 0, xs = 0, xc = 0, x1 = 0;
  const std::size_t n = x.size();
  std::vector<double> sv(n), cv(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double cycles = std::fmod(static_cast<double>(i) * hz, rate) / rate;
    sv[i] = std::sin(2.0 * std::numbers::pi * cycles);
    cv[i] = std::cos(2.0 * std::numbers::pi * cycles);
    ss += sv[i] * sv[i];
    sc += sv[i] * cv[i];
    s1 += sv[i];
    cc += cv[i] * cv[i];
    c1 += cv[i];
    n1 += 1.0;
    xs += x[i] * sv[i];
    xc += x[i] * cv[i];
    x1 += x[i];
  }
  const double m[3][3] = {{ss, sc, s1}, {sc, cc, c1}, {s1, c1, n1}};
  const double r[3] = {xs, xc, x1};
  auto det3 = [](const double a[3][3]) {
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
  };
  const double d = det3(m);
  if (d == 0.0) throw std::runtime_error("fit_sine: singular");
  double sol[3];
  for (int k = 0; k < 3; ++k) {
    double mk[3][3];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) mk[i][j] = j == k ? r[i] : m[i][j];
    sol[k] = det3(mk) / d;
  }
  SineFit fit;
  fit.amplitude = std::hypot(sol[0], sol[1]);
  fit.phase = std::atan2(sol[1], sol[0]);
  fit.dc = sol[2];
  double e2 = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double e = x[i] - (sol[0] * sv[i] + sol[1] * cv[i] + sol[2]);
    e2 += e * e;
  }
  fit.residual_rms = std::sqrt(e2 / static_cast<double>(n));
  return fit;
}

double db(double ratio_of_powers) { return 10.0 * std::log10(ratio_of_powers); }

}  // namespace raziz::test

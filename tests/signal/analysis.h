#pragma once
// Spectral and least-squares measurements on rendered signals, in double precision.
#include <complex>
#include <vector>

namespace raziz::test {

// Kaiser window of n points; beta 20 puts its sidelobes near -190 dB, far below anything measured.
std::vector<double> kaiser_window(int n, double beta = 20.0);

// Power spectrum of x (windowed with w): |X[k]|^2 for k = 0..n/2, scaled so a sinusoid of
// amplitude A whose frequency sits on a bin reads A^2 / 4 at that bin... summed over its main lobe
// it reads A^2 / 2 (its power), whatever the window.
std::vector<double> power_spectrum(const std::vector<double>& x, const std::vector<double>& w);

// Amplitude of the component at exactly hz (window-weighted projection), and its phase in radians.
struct Component {
  double amplitude = 0.0;
  double phase = 0.0;
};
Component component_at(const std::vector<double>& x, const std::vector<double>& w, double hz, double rate,
                       double start_sample = 0.0);

// Least-squares fit of a sinusoid of known frequency plus DC; residual is what is left over.
struct SineFit {
  double amplitude = 0.0;
  double phase = 0.0;
  double dc = 0.0;
  double residual_rms = 0.0;
};
SineFit fit_sine(const std::vector<double>& x, double hz, double rate);

double db(double ratio_of_powers);

}  // namespace raziz::test

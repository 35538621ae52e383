// Oscillator units: their parameters as the caller set them, and the voice those parameters make.
#include <cmath>

#include "audio/mixer/system_state.h"

namespace raziz::mixer {

void publish_voice(DSP& dsp) {
  System& system = *dsp.system;
  const double rate = dsp.rate;
  const int harmonics = harmonics_below_nyquist(rate, system.sample_rate);
  Voice voice;
  if (harmonics > 0) {
    voice.increment = rate / system.sample_rate;
    if (dsp.waveform == WAVE_SINE) {
      voice.kind = VoiceKind::sine;
    } else {
      voice.kind = VoiceKind::table;
      const Shape shape = dsp.waveform == WAVE_SQUARE ? Shape::square : Shape::triangle;
      voice.table = system.tables.get(shape, table_harmonics(harmonics));
    }
  }
  dsp.voice.publish(voice);
}

Result DSP_SetParameter(DSP* dsp, int index, float value) {
  if (!dsp) return RESULT_ERR_INVALID_HANDLE;
  trace_call(dsp->system, "DSP_SetParameter", dsp);
  if (dsp->released) return RESULT_ERR_INVALID_HANDLE;
  switch (index) {
    case OSCILLATOR_TYPE:
      if (value != WAVE_SINE && value != WAVE_SQUARE && value != WAVE_TRIANGLE) return RESULT_ERR_INVALID_PARAM;
      if (value == dsp->waveform) return RESULT_OK;
      dsp->waveform = value;
      break;
    case OSCILLATOR_RATE:
      // Any float is taken; a rate the oscillator cannot play (<= 0, NaN, >= Nyquist) is silence.
      dsp->rate = value;
      break;
    default: return RESULT_ERR_INVALID_PARAM;
  }
  publish_voice(*dsp);
  return RESULT_OK;
}

Result DSP_GetParameter(DSP* dsp, int index, float* value) {
  if (!dsp || !value) return RESULT_ERR_INVALID_HANDLE;
  trace_call(dsp->system, "DSP_GetParameter", dsp);
  if (dsp->released) return RESULT_ERR_INVALID_HANDLE;
  switch (index) {
    case OSCILLATOR_TYPE: *value = dsp->waveform; return RESULT_OK;
    case OSCILLATOR_RATE: *value = dsp->rate; return RESULT_OK;
    default: return RESULT_ERR_INVALID_PARAM;
  }
}

Result DSP_Release(DSP* dsp) {
  if (!dsp) return RESULT_ERR_INVALID_HANDLE;
  trace_call(dsp->system, "DSP_Release", dsp);
  if (dsp->released) return RESULT_ERR_INVALID_HANDLE;
  dsp->released = true;
  // The renderer fades the channel out and lets it go; the unit's memory stays with the system
  // until System_Release, so the renderer never reads freed memory.
  dsp->stopping.store(true, std::memory_order_release);
  if (dsp->channel) {
    dsp->channel->playing = nullptr;
    dsp->channel = nullptr;
  }
  return RESULT_OK;
}

}  // namespace raziz::mixer

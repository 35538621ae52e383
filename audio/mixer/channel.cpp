// Channel settings. The caller's values are kept exactly as given (a volume of 1.5 reads back as
// 1.5); the renderer decides what they sound like.
#include "audio/mixer/system_state.h"

namespace raziz::mixer {
namespace {

Result check(Channel* channel, const char* call) {
  if (!channel) return RESULT_ERR_INVALID_HANDLE;
  trace_call(channel->system, call, channel);
  if (!channel->playing) return RESULT_ERR_INVALID_HANDLE;
  return RESULT_OK;
}

}  // namespace

Result Channel_SetVolume(Channel* channel, float volume) {
  if (Result r = check(channel, "Channel_SetVolume"); r != RESULT_OK) return r;
  channel->volume.store(volume, std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_GetVolume(Channel* channel, float* volume) {
  if (Result r = check(channel, "Channel_GetVolume"); r != RESULT_OK) return r;
  if (!volume) return RESULT_ERR_INVALID_PARAM;
  *volume = channel->volume.load(std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_SetPaused(Channel* channel, bool paused) {
  if (Result r = check(channel, "Channel_SetPaused"); r != RESULT_OK) return r;
  channel->paused.store(paused, std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_GetPaused(Channel* channel, bool* paused) {
  if (Result r = check(channel, "Channel_GetPaused"); r != RESULT_OK) return r;
  if (!paused) return RESULT_ERR_INVALID_PARAM;
  *paused = channel->paused.load(std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_SetMute(Channel* channel, bool mute) {
  if (Result r = check(channel, "Channel_SetMute"); r != RESULT_OK) return r;
  channel->mute.store(mute, std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_GetMute(Channel* channel, bool* mute) {
  if (Result r = check(channel, "Channel_GetMute"); r != RESULT_OK) return r;
  if (!mute) return RESULT_ERR_INVALID_PARAM;
  *mute = channel->mute.load(std::memory_order_relaxed);
  return RESULT_OK;
}

Result Channel_IsPlaying(Channel* channel, bool* playing) {
  if (!channel || !playing) return RESULT_ERR_INVALID_HANDLE;
  trace_call(channel->system, "Channel_IsPlaying", channel);
  *playing = channel->playing != nullptr;
  return RESULT_OK;
}

Result Channel_GetIndex(Channel* channel, int* index) {
  if (!channel || !index) return RESULT_ERR_INVALID_HANDLE;
  trace_call(channel->system, "Channel_GetIndex", channel);
  *index = channel->index;
  return RESULT_OK;
}

}  // namespace raziz::mixer

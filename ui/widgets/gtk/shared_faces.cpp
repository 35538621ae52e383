#include "ui/widgets/gtk/shared_faces.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace raziz::ui::gtk {
namespace {

// Every face some panel holds, unowned: a face leaves the list as its last reference goes. Only the UI
// thread composes and paints, so the list needs no lock.
std::vector<cairo_surface_t*>& live_faces() {
  static std::vector<cairo_surface_t*> faces;
  return faces;
}

const cairo_user_data_key_t kListed{};

void unlist(void* surface) {
  auto& faces = live_faces();
  faces.erase(std::remove(faces.begin(), faces.end(), static_cast<cairo_surface_t*>(surface)), faces.end());
}

bool same_pixels(cairo_surface_t* face, const PanelImage& image, int device_scale) {
  if (cairo_image_surface_get_width(face) != image.width || cairo_image_surface_get_height(face) != image.height)
    return false;
  double sx = 0, sy = 0;
  cairo_surface_get_device_scale(face, &sx, &sy);
  if (sx != device_scale) return false;
  const unsigned char* data = cairo_image_surface_get_data(face);
  const int stride = cairo_image_surface_get_stride(face);
  const std::size_t row = static_cast<std::size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    if (std::memcmp(data + static_cast<std::ptrdiff_t>(y) * stride,
                    &image.pixels[static_cast<std::size_t>(y) * image.width], row) != 0)
      return false;
  return true;
}

}  // namespace

cairo_surface_t* SharedFace(const PanelImage& image, int device_scale) {
  for (cairo_surface_t* face : live_faces())
    if (same_pixels(face, image, device_scale)) return cairo_surface_reference(face);

  cairo_surface_t* face = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  if (cairo_surface_status(face) != CAIRO_STATUS_SUCCESS) return face;  // an inert error surface
  cairo_surface_set_device_scale(face, device_scale, device_scale);
  cairo_surface_flush(face);
  unsigned char* dst = cairo_image_surface_get_data(face);
  const int stride = cairo_image_surface_get_stride(face);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(dst + static_cast<std::ptrdiff_t>(y) * stride, &image.pixels[static_cast<std::size_t>(y) * image.width],
                static_cast<std::size_t>(image.width) * 4);
  cairo_surface_mark_dirty(face);
  if (cairo_surface_set_user_data(face, &kListed, face, &unlist) == CAIRO_STATUS_SUCCESS) live_faces().push_back(face);
  return face;
}

}  // namespace raziz::ui::gtk

#include "ui/widgets/gtk/shared_faces.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace raziz::ui::gtk {
namespace {

struct Face {
  cairo_surface_t* surface;  // unowned: it leaves the list as its last reference goes
  int width, height, device_scale;
  std::uint64_t pixels_hash;
};

// Only the UI thread composes and paints, so the list needs no lock.
std::vector<Face>& live_faces() {
  static std::vector<Face> faces;
  return faces;
}

const cairo_user_data_key_t kListed{};

void unlist(void* surface) {
  std::erase_if(live_faces(), [surface](const Face& f) { return f.surface == surface; });
}

// FNV-1a over the pixels: the face itself may sit in the display server, out of reach for a comparison.
std::uint64_t hash_of(const PanelImage& image) {
  std::uint64_t h = 14695981039346656037ull;
  const auto* bytes = reinterpret_cast<const unsigned char*>(image.pixels.data());
  for (std::size_t i = 0, n = image.pixels.size() * sizeof(std::uint32_t); i < n; ++i) {
    h ^= bytes[i];
    h *= 1099511628211ull;
  }
  return h;
}

cairo_surface_t* image_surface(const PanelImage& image, int device_scale) {
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
  return face;
}

// The picture copied once into a surface like `target`, which takes its size in units, not pixels.
cairo_surface_t* like_target(cairo_surface_t* picture, const PanelImage& image, int device_scale,
                             cairo_surface_t* target) {
  cairo_surface_t* face = cairo_surface_create_similar(target, CAIRO_CONTENT_COLOR_ALPHA, image.width / device_scale,
                                                       image.height / device_scale);
  if (cairo_surface_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(face);
    return cairo_surface_reference(picture);
  }
  cairo_surface_set_device_scale(face, device_scale, device_scale);
  cairo_t* cr = cairo_create(face);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, picture, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return face;
}

}  // namespace

cairo_surface_t* SharedFace(const PanelImage& image, int device_scale, cairo_surface_t* target) {
  const std::uint64_t hash = hash_of(image);
  for (const Face& f : live_faces())
    if (f.width == image.width && f.height == image.height && f.device_scale == device_scale && f.pixels_hash == hash)
      return cairo_surface_reference(f.surface);

  cairo_surface_t* picture = image_surface(image, device_scale);
  cairo_surface_t* face = target ? like_target(picture, image, device_scale, target) : cairo_surface_reference(picture);
  cairo_surface_destroy(picture);
  if (cairo_surface_status(face) == CAIRO_STATUS_SUCCESS &&
      cairo_surface_set_user_data(face, &kListed, face, &unlist) == CAIRO_STATUS_SUCCESS)
    live_faces().push_back(Face{face, image.width, image.height, device_scale, hash});
  return face;
}

}  // namespace raziz::ui::gtk

#include "ui/widgets/headless/headless_gadgets.h"

#include "ui/widgets/core/geometry.h"

namespace raziz::ui::headless {

void HeadlessGadget::NativeCreate() {
  peer.handle = driver_.NewHandle();
  peer.client_handle = kind() == kWindow || IsGroupPanel(*this) ? driver_.NewHandle() : peer.handle;
}

void HeadlessGadget::NativeText() {
  peer.text = text();
  if (accessible_name().empty()) peer.accessible_name = text();
}

void HeadlessGadget::NativeGeometry() { peer.rect = kind() == kWindow ? PlacedRect(*this) : RectInWindow(*this); }

void HeadlessGadget::NativeShow() {
  peer.visible = true;
  Repaint(*this);
}

void HeadlessGadget::NativeDestroy() {
  peer.destroyed = true;
  peer.visible = false;
  driver_.NativeDestroyed(this);
}

void HeadlessGadget::Repaint(TGadget& gadget) {
  auto* native = dynamic_cast<HeadlessGadget*>(&gadget);
  if (!native || !native->peer.visible) return;
  if (gadget.kind() == kPanel) {
    native->peer.face = ComposePanel(gadget);
  } else if (ShowsContainerFace(gadget)) {
    native->peer.face = ComposeBackdrop(gadget);
  }
  ++native->peer.paint_count;
  for (TGadget* kid : gadget.kids) Repaint(*kid);
}

void HeadlessWindow::NativeShow() {
  HeadlessGadget::NativeShow();
  driver_.NativeActiveWindow(this);
}

void HeadlessWindow::NativeDestroy() {
  peer.menu_bar.clear();
  HeadlessGadget::NativeDestroy();
}

namespace {

// Returns false when an item's parent has no native menu, as when the platform is out of resources.
bool BuildEntries(const TGadget& parent, std::vector<MenuEntry>& entries, bool fail) {
  for (TGadget* item : parent.kids) {
    if (fail) return false;
    MenuEntry entry;
    entry.text = item->name;
    entry.tag = item->tag();
    entry.item = item;
    if (!BuildEntries(*item, entry.children, fail)) return false;
    entries.push_back(std::move(entry));
  }
  return true;
}

}  // namespace

bool HeadlessWindow::NativeMenuBar() {
  // The old menus are discarded whatever happens next.
  peer.menu_bar.clear();
  ++peer.menu_bar_builds;
  const TGadget* root = menu_root();
  if (!root) return true;
  std::vector<MenuEntry> bar;
  if (!BuildEntries(*root, bar, driver_.menu_bars_fail())) return false;
  peer.menu_bar = std::move(bar);
  return true;
}

void HeadlessTextBox::NativeSelection() {
  peer.selection_start = selection_start();
  peer.selection_end = selection_end();
}

void HeadlessSlider::NativeSlider() {
  peer.slider_min = slider_min();
  peer.slider_max = slider_max();
  peer.slider_position = slider_position();
  peer.ticks = SliderShowsTicks(*this);
}

void HeadlessSlider::NativeGeometry() {
  HeadlessGadget::NativeGeometry();
  NativeSlider();
}

}  // namespace raziz::ui::headless

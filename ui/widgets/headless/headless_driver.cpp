// The headless driver: native gadgets made per kind, and a simulated platform message queue fed by a script.

#include "ui/widgets/headless/headless_driver.h"

#include <algorithm>

#include "ui/widgets/core/gadget_registry.h"
#include "ui/widgets/core/testing.h"
#include "ui/widgets/headless/headless_gadgets.h"

namespace raziz::ui::headless {

THeadlessDriver::THeadlessDriver() = default;
THeadlessDriver::~THeadlessDriver() = default;

TGadget* THeadlessDriver::MakeGadget(int kind, int style_bits) {
  switch (kind) {
    case kWindow: return new HeadlessWindow(*this, kind, style_bits);
    case kTextField:
    case kTextArea: return new HeadlessTextBox(*this, kind, style_bits);
    case kSlider: return new HeadlessSlider(*this, kind, style_bits);
    case kDesktop:
    case kButton:
    case kPanel:
    case kLabel:
    case kMenuItem: return new HeadlessGadget(*this, kind, style_bits);
    default: return nullptr;  // combo boxes, lists, tool bars and the rest are not made here
  }
}

void THeadlessDriver::PollMessages() {
  while (!arrived_.empty()) {
    Step step = std::move(arrived_.front());
    arrived_.pop_front();
    for (auto& message : step.messages) message();
  }
}

void THeadlessDriver::WaitMessages() {
  if (arrived_.empty()) {
    if (script_.empty()) throw NoMoreInput();
    DeliverNext();
  }
  PollMessages();
}

void THeadlessDriver::RepaintNow(std::intptr_t native_window) {
  for (TGadget* g : LiveGadgets()) {
    auto* native = dynamic_cast<HeadlessGadget*>(g);
    if (native && g->kind() == kWindow && native->peer.handle == native_window) ++native->peer.immediate_repaints;
  }
}

void THeadlessDriver::OpenAddress(std::string_view address) { opened_.emplace_back(address); }

void THeadlessDriver::Script(std::vector<Message> step, TGadget* pinned) {
  script_.push_back(Step{std::move(step), pinned});
}

void THeadlessDriver::DeliverNext() {
  if (script_.empty()) return;
  arrived_.push_back(std::move(script_.front()));
  script_.pop_front();
}

void THeadlessDriver::DeliverAll() {
  while (!script_.empty()) DeliverNext();
}

void THeadlessDriver::NativeDestroyed(TGadget* gadget) {
  // A gone widget can no longer be clicked: steps naming it are dropped before its memory can be reused.
  auto names = [gadget](const Step& s) { return s.pinned == gadget; };
  script_.erase(std::remove_if(script_.begin(), script_.end(), names), script_.end());
  arrived_.erase(std::remove_if(arrived_.begin(), arrived_.end(), names), arrived_.end());
  if (auto* native = dynamic_cast<HeadlessGadget*>(gadget)) native->peer.active_when_destroyed = active_;
  if (native_focus_ == gadget) native_focus_ = nullptr;
  if (active_ == gadget) active_ = nullptr;
}

const Peer& THeadlessDriver::PeerOf(const TGadget* gadget) const {
  auto* native = dynamic_cast<const HeadlessGadget*>(gadget);
  if (!native) throw std::invalid_argument("headless: not a gadget of the headless driver");
  return native->peer;
}

namespace {

bool Within(const TGadget* g, const TGadget* container) {
  if (!container) return true;
  for (const TGadget* p = g->parent; p; p = p->parent) {
    if (p == container) return true;
  }
  return false;
}

}  // namespace

TGadget* THeadlessDriver::Find(int kind, std::string_view text, const TGadget* within) {
  for (TGadget* g : LiveGadgets()) {
    if (g->kind() == kind && g->text() == text && Within(g, within)) return g;
  }
  return nullptr;
}

std::vector<TGadget*> THeadlessDriver::FindAll(int kind, const TGadget* within) {
  std::vector<TGadget*> found;
  for (TGadget* g : LiveGadgets()) {
    if (g->kind() == kind && Within(g, within)) found.push_back(g);
  }
  return found;
}

std::size_t THeadlessDriver::LiveCount() { return LiveGadgets().size(); }

TGadget* Target::Resolve() const {
  if (gadget_) return gadget_;
  if (TGadget* g = THeadlessDriver::Find(kind_, text_)) return g;
  throw TargetMissing("headless: no live " + Describe() + " when the step came");
}

std::string Target::Describe() const {
  if (gadget_) return "gadget of kind " + std::to_string(gadget_->kind()) + " \"" + gadget_->text() + "\"";
  return "gadget of kind " + std::to_string(kind_) + " \"" + text_ + "\"";
}

Session::Session() : user(driver.user) { StartWidgets(driver); }

Session::~Session() { ResetWidgetsForTests(); }

}  // namespace raziz::ui::headless

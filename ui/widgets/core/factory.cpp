// The factory: a gadget is made, named, placed and shown in a fixed order, and a control raises nothing until
// that order is complete.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

TGadget* Core::Create(int kind, std::string_view text, int x, int y, int width, int height, TGadget* group, int style) {
  auto& layer = detail::Layer();
  TGuiDriver& driver = Driver();
  if (kind == kDesktop) return layer.desktop;

  // 1. A window without a container lives on the desktop; a menu item given a window goes under its root.
  if (kind == kWindow && !group) group = layer.desktop;
  if (kind == kMenuItem && group && group->kind_ == kWindow) group = MenuRoot(group);
  if (group && !group->alive_) return nullptr;

  // 2. The driver's object for the kind, with its style and no text yet.
  TGadget* g = driver.MakeGadget(kind, style);
  if (!g) return nullptr;
  g->parent = group;
  layer.live.push_back(g);

  if (kind == kMenuItem) {
    g->name = std::string(text);
    g->text_ = std::string(text);
    if (group) group->kids.push_back(g);
    g->NativeCreate();
    g->raises_events_ = true;
    return g;
  }

  const int w = std::max(width, 0);
  const int h = std::max(height, 0);
  if (!group) {
    // A control with no container has nowhere to be shown: it exists, shows nothing and raises nothing.
    g->text_ = std::string(text);
    g->xpos = x;
    g->ypos = y;
    g->width = w;
    g->height = h;
    return g;
  }

  g->NativeCreate();
  if (kind == kWindow) g->raises_events_ = true;

  // 3. The text.
  g->SetText(text);

  // 4. Into the container.
  group->kids.push_back(g);

  // 5. Position and size.
  g->xpos = x;
  g->ypos = y;
  g->width = w;
  g->height = h;
  g->geometry_set_ = true;
  g->NativeGeometry();

  // 6. Shown; a window shown becomes the active one.
  if (kind == kWindow) {
    if (style & window_style::kHidden) {
      layer.hidden_windows.insert(g);
    } else {
      g->NativeShow();
      BecomeActive(g, false);
    }
  } else {
    g->NativeShow();
    // 7. From here on a control raises events.
    g->raises_events_ = true;
  }
  return g;
}

TGadget* CreateGadget(int kind, std::string_view text, int x, int y, int width, int height, TGadget* group, int style) {
  return Core::Create(kind, text, x, y, width, height, group, style);
}

TGadget* NewWindow(std::string_view text, int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kWindow, text, x, y, width, height, group, style);
}

TGadget* NewButton(std::string_view text, int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kButton, text, x, y, width, height, group, style);
}

TGadget* NewLabel(std::string_view text, int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kLabel, text, x, y, width, height, group, style);
}

TGadget* NewPanel(int x, int y, int width, int height, TGadget* group, int style, std::string_view title) {
  return CreateGadget(kPanel, title, x, y, width, height, group, style);
}

TGadget* NewTextField(int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kTextField, "", x, y, width, height, group, style);
}

TGadget* NewTextArea(int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kTextArea, "", x, y, width, height, group, style);
}

TGadget* NewSlider(int x, int y, int width, int height, TGadget* group, int style) {
  return CreateGadget(kSlider, "", x, y, width, height, group, style);
}

TGadget* NewMenuItem(std::string_view text, int tag, TGadget* parent, int hot_key, int modifiers) {
  TGadget* item = CreateGadget(kMenuItem, text, 0, 0, 0, 0, parent, tag);
  if (item && hot_key != 0) item->SetHotKey(hot_key, modifiers);
  return item;
}

}  // namespace raziz::ui

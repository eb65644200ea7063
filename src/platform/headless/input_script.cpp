#include "platform/headless/input_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "shell/menu_model.h"

namespace torvel {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ParseInt(std::string_view s, int& value) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size();
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// The character a key types when pressed without modifiers.
char CharacterOfKey(int key) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>(key - 'A' + 'a');
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  switch (key) {
    case vk::Return: return '\r';
    case vk::Back: return '\b';
    case vk::Escape: return 27;
    case vk::Space: return ' ';
    case vk::Tab: return '\t';
    default: return 0;
  }
}

// The words after "dev"; `n` words in all with the time and "dev" first.
bool ParseDevLine(const std::vector<std::string_view>& w, size_t n, InputEvent& e) {
  if (n < 3) return false;
  const std::string action = Lower(w[2]);
  if (action == "trace" && n == 4) {
    const std::string on = Lower(w[3]);
    if (on != "on" && on != "off") return false;
    e.devAction = action;
    e.devOn = on == "on";
    return true;
  }
  if (action == "select" && n == 4) {
    e.devAction = action;
    e.devName = std::string(w[3]);
    return true;
  }
  if (action == "flag-editor" && (n == 3 || (n == 4 && Lower(w[3]) == "close"))) {
    e.devAction = n == 3 ? "flag-editor" : "flag-editor-close";
    return true;
  }
  if (action == "bit" && n == 6) {
    std::string view(w[3]);
    for (char& c : view) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kBitViews[] = {"F", "E", "G", "R", "G2", "G3"};
    if (std::find(std::begin(kBitViews), std::end(kBitViews), view) == std::end(kBitViews)) return false;
    if (!ParseInt(w[4], e.devCell) || e.devCell < 0 || e.devCell > 999) return false;
    const std::string how = Lower(w[5]);
    if (how != "set" && how != "clear") return false;
    e.devAction = action;
    e.devName = view;
    e.devOn = how == "set";
    return true;
  }
  return false;
}

}  // namespace

int KeyCodeByName(std::string_view name) {
  std::string n = Lower(name);
  static const std::pair<const char*, int> kNames[] = {
      {"enter", vk::Return},  {"return", vk::Return},   {"backspace", vk::Back}, {"tab", vk::Tab},
      {"escape", vk::Escape}, {"esc", vk::Escape},      {"space", vk::Space},    {"shift", vk::Shift},
      {"ctrl", vk::Control},  {"control", vk::Control}, {"alt", vk::Menu},       {"left", vk::Left},
      {"up", vk::Up},         {"right", vk::Right},     {"down", vk::Down},
  };
  for (const auto& [keyName, code] : kNames) {
    if (n == keyName) return code;
  }
  if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0]))) {
    return std::toupper(static_cast<unsigned char>(n[0]));
  }
  return 0;
}

InputScript ParseInputScript(std::string_view text) {
  InputScript script;
  std::istringstream in{std::string(text)};
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    script.error = "line " + std::to_string(lineNumber) + ": " + why;
    script.events.clear();
    return script;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    std::vector<std::string_view> w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    InputEvent e;
    int time = 0;
    if (!ParseInt(w[0], time) || time < 0) return fail("expected a time in milliseconds");
    e.time = static_cast<uint32_t>(time);
    if (w.size() < 2) return fail("expected an event after the time");
    std::string what = Lower(w[1]);
    size_t n = w.size();
    if (what == "move" || what == "click" || what == "press" || what == "release") {
      e.kind = what == "move"    ? InputEvent::Kind::Move
               : what == "click" ? InputEvent::Kind::Click
               : what == "press" ? InputEvent::Kind::Press
                                 : InputEvent::Kind::Release;
      size_t allowed = e.kind == InputEvent::Kind::Move ? 4 : 5;
      if (n < 4 || n > allowed || !ParseInt(w[2], e.x) || !ParseInt(w[3], e.y)) return fail("expected X Y");
      if (n == 5) {
        std::string b = Lower(w[4]);
        if (b == "left")
          e.button = MouseButton::Left;
        else if (b == "right")
          e.button = MouseButton::Right;
        else if (b == "middle")
          e.button = MouseButton::Middle;
        else
          return fail("expected left, right or middle");
      }
    } else if (what == "key") {
      e.kind = InputEvent::Kind::Key;
      if (n < 3 || n > 4) return fail("expected a key name");
      e.key = KeyCodeByName(w[2]);
      if (e.key == 0) return fail("unknown key " + std::string(w[2]));
      e.character = CharacterOfKey(e.key);
      if (n == 4) {
        std::string a = Lower(w[3]);
        if (a == "down")
          e.keyAction = InputEvent::KeyAction::Down;
        else if (a == "up")
          e.keyAction = InputEvent::KeyAction::Up;
        else if (a == "repeat")
          e.keyAction = InputEvent::KeyAction::Repeat;
        else
          return fail("expected down or up or repeat");
      }
    } else if (what == "char") {
      e.kind = InputEvent::Kind::Char;
      if (n != 3 || w[2].size() != 1) return fail("expected one character");
      e.character = w[2][0];
    } else if (what == "wheel") {
      e.kind = InputEvent::Kind::Wheel;
      std::string d = n == 3 ? Lower(w[2]) : "";
      if (d == "up")
        e.wheel = 1;
      else if (d == "down")
        e.wheel = -1;
      else
        return fail("expected up or down");
    } else if (what == "shot" || what == "state") {
      e.kind = what == "shot" ? InputEvent::Kind::Shot : InputEvent::Kind::State;
      if (n != 3) return fail("expected a file name");
      e.file = std::string(w[2]);
    } else if (what == "answer") {
      e.kind = InputEvent::Kind::Answer;
      std::string a = n == 3 ? Lower(w[2]) : "";
      if (a == "ok")
        e.answerOk = true;
      else if (a == "cancel")
        e.answerOk = false;
      else
        return fail("expected ok or cancel");
    } else if (what == "stall") {
      e.kind = InputEvent::Kind::Stall;
      if (n != 3 || !ParseInt(w[2], e.stallMs) || e.stallMs < 0) return fail("expected milliseconds");
    } else if (what == "dialog") {
      e.kind = InputEvent::Kind::Dialog;
      const size_t after = static_cast<size_t>(w[1].data() - line.data()) + w[1].size();
      std::string why;
      if (!ParseDialogAnswer(std::string_view(line).substr(after), e.dialog, why)) return fail(why);
    } else if (what == "save" || what == "load") {
      e.kind = what == "save" ? InputEvent::Kind::Save : InputEvent::Kind::Load;
      if (n != 3 || !ParseInt(w[2], e.slot) || e.slot < 1 || e.slot > 99) return fail("expected a slot from 1 to 99");
    } else if (what == "menu") {
      e.kind = InputEvent::Kind::Menu;
      const std::string place = n == 4 ? Lower(w[2]) : "";
      const std::optional<MenuId> menu = MenuByName(place);
      if (n != 4 || !menu) return fail("expected main, popup, quit-popup or toolbar and an entry");
      e.menu = place;
      e.entry = Lower(w[3]);
      if (!MenuEntryIndex(*menu, e.entry)) return fail("unknown entry " + std::string(w[3]));
    } else if (what == "text") {
      // The rest of the line, as typed into a text question.
      e.kind = InputEvent::Kind::Text;
      if (n < 3) return fail("expected a text");
      e.text = std::string(std::string_view(line).substr(static_cast<size_t>(w[2].data() - line.data())));
    } else if (what == "dev") {
      e.kind = InputEvent::Kind::Dev;
      if (!ParseDevLine(w, n, e))
        return fail("expected trace on|off, select NAME, flag-editor [close] or bit VIEW N set|clear");
    } else if (what == "close") {
      e.kind = InputEvent::Kind::Close;
      if (n != 2) return fail("too many words");
    } else {
      return fail("unknown event " + std::string(w[1]));
    }
    script.events.push_back(std::move(e));
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
  return script;
}

}  // namespace torvel

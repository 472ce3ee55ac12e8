#include "recorded_events.h"

namespace vellumo {

void RecordedEvents::OnToolbarClick(int index, bool pressed) {
  lines.push_back("toolbar " + std::to_string(index) + (pressed ? " pressed" : " released"));
}

void RecordedEvents::OnSourceMenu(int entry) {
  lines.push_back("menu " + std::to_string(entry));
}

void RecordedEvents::OnStartupMenu(int entry) {
  lines.push_back("startup menu " + std::to_string(entry));
}

void RecordedEvents::OnBrowse() {
  lines.push_back("browse");
}

void RecordedEvents::OnImageSelected(int row) {
  lines.push_back("select " + std::to_string(row));
}

void RecordedEvents::OnImageDoubleClicked(int row) {
  lines.push_back("double-click " + std::to_string(row));
}

std::string RecordedEvents::OnImageTip(int row) {
  lines.push_back("tip " + std::to_string(row));
  return "row " + std::to_string(row);
}

std::string RecordedEvents::OnPreviewTip() {
  lines.push_back("preview tip");
  return preview_tip;
}

void RecordedEvents::OnPreviewToggled(bool checked) {
  lines.push_back(checked ? "preview on" : "preview off");
}

void RecordedEvents::OnDisplayModeChosen(int row) {
  lines.push_back("mode " + std::to_string(row));
}

void RecordedEvents::OnDisplaySettings() {
  lines.push_back("display settings");
}

void RecordedEvents::OnNext() {
  lines.push_back("next");
}

void RecordedEvents::OnSave() {
  lines.push_back("save");
}

void RecordedEvents::OnCancel() {
  lines.push_back("cancel");
}

void RecordedEvents::OnEndSession() {
  lines.push_back("end session");
}

}  // namespace vellumo

#pragma once
// The main menu as the form describes it: every entry with its caption, key, hint, tick and
// radio group, held in menu order so that keys are looked up the way the menus hold them.

#include <QKeySequence>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

enum class TTopMenu { File, Edit, Preferences, Help };

struct TMenuEntry {
  std::string Name;  // the component's name, e.g. "Open1"
  TTopMenu Menu;
  QKeySequence Key;        // empty when the entry has none
  QKeySequence SecondKey;  // an entry's other key, as Redo has
  int Tag = 0;             // the number the entry carries and hands to its handler
  QAction* Action = nullptr;
  std::function<void(TMenuEntry&)> Command;  // absent until its command is built
};

class TMainMenu {
 public:
  // Creates the menus on Bar, owned by it.
  void Build(QMenuBar* Bar);

  QMenuBar* Bar() const { return FBar; }
  QMenu* TopMenu(TTopMenu Menu) const { return FTopMenus[static_cast<int>(Menu)]; }
  // Absent names are a programming error: throws std::logic_error.
  TMenuEntry& Entry(std::string_view Name);
  // The first entry in menu order that holds Key, as either of its keys, or null.
  TMenuEntry* EntryWithKey(const QKeySequence& Key);
  std::vector<TMenuEntry>& Entries() { return FEntries; }

 private:
  QMenuBar* FBar = nullptr;
  QMenu* FTopMenus[4] = {};
  std::vector<TMenuEntry> FEntries;
};

// "---===" + Hint + "===---", or empty for an empty hint.
QString HintPanelText(const QString& Hint);

// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of Open and Save as, and the clean-up after a load.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace vortan {

struct Game;

enum class FileDialogKind { Open, SaveAs };

// The dialog as Open or Save as shows it: game files only, ".GAM" added to a
// bare name, Open wants a file that exists, Save as asks before overwriting.
// It starts in the folder of the current game file; Open offers a recovery
// file left from a crash instead, when one is given and still there.
void SetUpGameFileDialog(QFileDialog& dialog, FileDialogKind kind, const Game& g, const QString& recoverFile = {});
// Runs it modally; the chosen file's full path, or nothing on cancel.
std::optional<std::string> ChooseGameFile(QWidget* owner, FileDialogKind kind, const Game& g,
                                          const QString& recoverFile = {});

// Where the recovery file goes when the game's folder cannot be written: the
// per-user data folder (created), e.g. ~/.local/share/vortan.
std::string RecoveryFolder();
// A recovery file some earlier run left behind (it crashed or was killed), in
// the game's folder or the per-user one; empty when there is none.
QString LeftoverRecoveryFile(const Game& g);

// The click that closed the file dialog must not reach the map: up to two
// mouse-button events still waiting for the program's windows are dropped.
void DiscardPendingClicks();

}  // namespace vortan

#pragma once
// Steps both site editors take the same way: the question before a command
// that would drop unsaved data, the reminder and the save dialog, writing the
// file, and reading one whole.
#include <cstddef>
#include <functional>
#include <string>

#include "crv/editors/site_editor_host.h"

namespace crv::editors::detail {

enum class SavePrompt { Go, Stop };
// Asks `text` (Yes, No, Cancel). Yes commits the open edit and saves; when
// either does not happen the command stops, so nothing unsaved is lost.
SavePrompt askToSaveFirst(common::MessagePresenter& presenter, const std::string& text, const std::string& title,
                          const std::function<bool()>& commitPending, const std::function<bool()>& saveDataAs);

// "Remember, in order to be used by the model, <which> ...": the reminder
// before a save; false when it was cancelled.
bool remindOfTheModelName(common::MessagePresenter& presenter, const std::string& which, common::MessageIcon icon);

// The save dialog; on a choice the file title and the user folder follow it
// (and the folders are stored). "" when cancelled.
std::string askWhereToSave(SiteEditorHost& host, const FileDialogRequest& request, std::string& fileTitle);

// The file title and the user folder follow a chosen file; the folders are stored.
void followChosenFile(SiteEditorHost& host, const std::string& path, std::string& fileTitle);

// Reads a chosen file whole (a regular file of at most maxBytes); a file that
// cannot be opened or read is reported under `title`, naming it, and nothing
// changes.
bool readOrReport(common::MessagePresenter& presenter, const std::string& path, const std::string& title,
                  std::size_t maxBytes, std::string& bytes);

// Writes the file whole or not at all; a failure is reported.
bool writeOrReport(common::MessagePresenter& presenter, const std::string& path, const std::string& bytes);

// Values out of range are still marked in the table: said, and the save
// stops. They came from the file read, or from a change of position format
// under which numbers that fitted before no longer do.
enum class MarkedBy { FileRead, FormatChange };
void sayMarkedValuesRemain(common::MessagePresenter& presenter, MarkedBy cause = MarkedBy::FileRead);

std::string trimBlanks(const std::string& s);

}  // namespace crv::editors::detail

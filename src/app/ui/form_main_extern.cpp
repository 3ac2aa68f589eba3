// The main window's items that reach out of it: launchers, favourites and companion programs.
#include <QAction>
#include <filesystem>

#include "app/external_programs.h"
#include "app/ui/form_main.h"
#include "app/ui/form_program_settings.h"
#include "app/ui/form_select_window.h"
#include "app/ui/form_version.h"
#include "editor/editor_control.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_conversions.h"
#include "platform/ui/x11_window_list.h"

namespace tessary {
namespace {

std::string ExecutableFolder() {
  return std::filesystem::path(ExecutablePath()).parent_path().string();
}

CommandId Nth(CommandId first, int n) {
  return static_cast<CommandId>(static_cast<int>(first) + n - 1);
}

}  // namespace

int64_t TFormMain::CaretLineNumber() const {
  const EditorControl& c = editor_->Control();
  if (c.RowCount() == 0) return 1;
  return static_cast<int64_t>(c.RowToLine(c.CaretRow())) + 1;
}

void TFormMain::RegisterExternalHandlers() {
  using enum CommandId;
  auto programs = [this] {
    return ExternalPrograms(*process_launcher, messages_, ini_, ExecutableFolder());
  };
  for (int n = 1; n <= kEntryCount; ++n) {
    handlers_.Register(Nth(MenuLauncherAuto1, n), [this, n, programs] {
      programs().RunLauncher(n, document_->CodeState().FileName, CaretLineNumber());
    });
    handlers_.Register(Nth(MenuFavoriteAuto1, n), [this, n] {
      const FavoriteEntry f = ReadFavorite(ini_, n);
      document_->OpenFavorite(f.path, static_cast<CharCode>(f.index));
    });
  }
  handlers_.Register(MenuShowBinaryExe, [this, programs] {
    programs().RunCompanion(Companion::Binary, document_->CodeState().FileName);
  });
  handlers_.Register(MenuShowCsvExe, [this, programs] {
    programs().RunCompanion(Companion::Csv, document_->CodeState().FileName);
  });
  handlers_.Register(MenuShowNoteCsv, [this] {
    if (!csv_list_utf_) {
      if (csv_list_utf_library.empty())
        csv_list_utf_library = CsvListUtfLibraryPath(ProgramFiles::OfThisProgram().LibraryFolder());
      csv_list_utf_ =
          std::make_unique<CsvListUtfHandoff>(*library_loader, messages_, csv_list_utf_library);
    }
    csv_list_utf_->Show(static_cast<QWidget*>(this), document_->CodeState().FileName);
  });
  handlers_.Register(MenuFavoriteSetting, [this] {
    TFormFavorite(this, ini_, messages_).exec();
    SetMenuFavorite();
    activateWindow();
  });
  handlers_.Register(MenuLauncherSetting, [this] {
    TFormLauncher(this, ini_, messages_).exec();
    SetMenuLauncher();
    activateWindow();
  });
  handlers_.Register(MenuFilerSetFocus, [this] {
    std::unique_ptr<WindowList> windows = window_list ? window_list() : SessionWindowList();
    if (!WindowsListable(*windows, messages_)) return;
    // Run has raised another window; only a chooser closed otherwise hands the focus back.
    if (TFormSelectFiler(this, home_, *windows, messages_, winId()).exec() != QDialog::Accepted)
      activateWindow();
  });
  handlers_.Register(MenuEditorSetFocus, [this] {
    std::unique_ptr<WindowList> windows = window_list ? window_list() : SessionWindowList();
    if (!WindowsListable(*windows, messages_)) return;
    if (TFormSelectEditor(this, home_, *windows, messages_, winId()).exec() != QDialog::Accepted)
      activateWindow();
  });
  handlers_.Register(MenuVersion, [this] {
    TFormVersion(this, ini_).exec();
    activateWindow();
  });
  SetMenuLauncher();
  SetMenuFavorite();
}

// The captions carry the file names; the key map keeps the table's captions for these items.
void TFormMain::SetMenuLauncher() {
  for (int n = 1; n <= kEntryCount; ++n) {
    const CommandId id = Nth(CommandId::MenuLauncherAuto1, n);
    Action(id)->setText(Q(LauncherCaption(n, ReadLauncher(ini_, n).program)));
    KeepTableCaption(id);
  }
}

void TFormMain::SetMenuFavorite() {
  for (int n = 1; n <= kEntryCount; ++n) {
    const CommandId id = Nth(CommandId::MenuFavoriteAuto1, n);
    Action(id)->setText(Q(FavoriteCaption(n, ReadFavorite(ini_, n).path)));
    KeepTableCaption(id);
  }
}

}  // namespace tessary

#include "images/image_list.h"

#include "images/folder_search.h"
#include "platform/general.h"
#include "platform/text.h"
#include "ui/main_layout.h"

namespace vellumo {

std::string LocationText(const Settings& settings) {
  const bool file = settings.iSourceType == 0;
  const std::string& source = file ? settings.sSourceFile : settings.sSourceFolder;
  const std::string& missing = file ? settings.missing_source_file : settings.missing_source_folder;
  if (source.empty() && !missing.empty()) return main_text::kMissing + missing;
  return source;
}

ImageList::ImageList(State& state, Platform& platform, ChangingForm& changing, MainView& main_view)
    : state_(state),
      platform_(platform),
      changing_(changing),
      main_view_(main_view),
      files_(platform.files) {}

void ImageList::Reset_List() {
  names_.clear();
  state_.sImagePaths.clear();
  ShowNames();
  source_text_ = LocationText(state_.settings);
  main_view_.SetSourceText(source_text_);
  files_.SetPath(state_.settings.sSourceFolder);
  Build_List();
}

void ImageList::Build_List() {
  switch (state_.settings.iSourceType) {
    case 0:
      List_File();
      break;
    case 1:
      List_Folder();
      break;
    case 2:
      FolderSearch(*this).Search_Folders();
      break;
    default:
      break;
  }
  if (!names_.empty()) {
    next_enabled_ = true;
    main_view_.SetNextEnabled(true);
  }
  caption_ = "Images (" + std::to_string(names_.size()) + ")";
  main_view_.SetImagesCaption(caption_);
  ShowNames();
  // In a background run the progress window becomes the change notice.
  if (!state_.bBackgroundRun) changing_.Close();
}

// The one picture of file mode, shown in the list so it can be previewed and applied.
void ImageList::List_File() {
  const std::string& file = state_.settings.sSourceFile;
  if (file.empty()) return;
  if (state_.bBackgroundRun) changing_.Show();
  const char separator = platform_.files.Separator();
  const size_t name_start = file.find_last_of(separator);
  const std::string name = name_start == std::string::npos ? file : file.substr(name_start + 1);
  names_.push_back(name.find('.') == std::string::npos ? name : StripExtension(name));
  state_.sImagePaths.push_back(file);
}

void ImageList::List_Folder() {
  if (state_.bBackgroundRun) changing_.Show();
  files_.SetPath(state_.settings.sSourceFolder);
  Add_Files(false);
}

void ImageList::Add_Files(bool progress) {
  const char separator = platform_.files.Separator();
  for (const auto& name : files_.Names()) {
    names_.push_back(StripExtension(name));
    state_.sImagePaths.push_back(JoinPath(files_.Path(), name, separator));
  }
  if (progress) ShowProgress();
}

void ImageList::ShowNames() {
  // Nobody sees the list of a background run; a large one would only cost time.
  if (!state_.bBackgroundRun) main_view_.SetImages(names_);
}

// A tree of ten thousand folders is searched in a fraction of a second; drawing each folder's
// name would take ten times that, and nobody reads names that change within a frame. The
// search still yields at every folder, so Esc ends it at once; its end is drawn always.
void ImageList::ShowProgress() {
  const auto now = platform_.loop.Now();
  if (progress_drawn_ && now - *progress_drawn_ < kFrame) return;
  progress_drawn_ = now;
  const int width = TwipsToPixels(kFileNameLabelTwips, platform_.loop.ScreenDpi());
  changing_.SetFileName(main_view_.TruncatePath(files_.Path(), width));
}

}  // namespace vellumo

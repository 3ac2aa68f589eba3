// TFormVersion: the version text and a picture that changes with each click.
#pragma once

#include "platform/private_profile.h"
#include "platform/ui/viewer_form.h"

class QLabel;
class QPushButton;

namespace tessary {

class VersionPicture;

// "バージョン情報": "Version ： " with the version text, one of six pictures with its caption
// (a click shows the next and stores its index in VersionImage/Index), OK and Esc close.
class TFormVersion final : public TViewerForm {
  Q_OBJECT
 public:
  TFormVersion(QWidget* parent, PrivateProfile& ini);
  [[nodiscard]] int ImageIndex() const { return index_; }
  QLabel& VersionLabel() const { return *version_; }
  QLabel& Caption() const { return *caption_; }
  QPushButton& ButtonOK() const { return *ok_; }
  // What a click on the picture does.
  void ImageClick();

 private:
  void ShowImage();

  PrivateProfile& ini_;
  int index_ = 0;
  VersionPicture* picture_ = nullptr;
  QLabel* version_ = nullptr;
  QLabel* caption_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace tessary

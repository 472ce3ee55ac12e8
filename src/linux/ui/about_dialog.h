#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QPushButton;

namespace vellumo {

// Opens a web address; the default hands it to the desktop's browser.
using LinkOpener = std::function<void(const QUrl&)>;
void OpenWithDesktop(const QUrl& address);

// frmAbout: the product, its version, the credit line and the maker's link. The link opens the
// address and leaves the box open; Esc and the close box close it.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(QWidget* owner, LinkOpener open_link);

  QPushButton& link() const { return *link_; }

 private:
  QPushButton* link_;
};

// Shows the About box modally over `owner`.
void RunAboutBox(QWidget* owner, const LinkOpener& open_link);

}  // namespace vellumo

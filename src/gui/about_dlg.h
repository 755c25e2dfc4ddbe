// The About box: icon, product and version line, copyright notice.
#pragma once

#include <QDialog>

namespace kib::gui {

// "%s%d.%d.%d(%d)%s" filled with the product, the version and the build.
QString VersionLine();

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace kib::gui

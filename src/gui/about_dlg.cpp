#include "gui/about_dlg.h"

#include "sheet/product_info.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

#include <string>

namespace kib::gui {

QString VersionLine() {
    return QString::fromLatin1(std::string(kProgramName) + ", ver. " + VersionText());
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Kib"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/kib/kib.svg")).pixmap(48, 48));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("versionLine"));
    auto* copyright =
        new QLabel(tr("Kib, TempO map maker. Copyright (C) the Kib developers."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(copyright, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}

} // namespace kib::gui

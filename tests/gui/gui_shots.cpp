// Takes screenshots of kib-gui on one event: the competition preview with the
// properties pane, the solution preview, the Make dialog and the window after
// Make Vector Maps chosen from the menu (its dialog confirmed as it opens),
// View → Map on two stations, and the window during Make Raster Maps with its
// progress bar and Stop button.
#include "config/kib_doc.h"
#include "foundation/host.h"
#include "gui/gui_host.h"
#include "gui/main_frame.h"
#include "gui/make_dlg.h"
#include "gui/map_view.h"
#include "gui/printing.h"
#include "gui/properties_wnd.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

// The real screen under X, else the window's own rendering.
void Shot(QWidget& window, const QString& file) {
    Settle(400);
    QPixmap pm;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        pm = QGuiApplication::primaryScreen()->grabWindow(0);
    } else {
        pm = window.grab();
    }
    pm.save(file);
    std::printf("wrote %s\n", file.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(kib_gui);
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: kib_gui_shots EVENT.cfg OUTDIR\n");
        return 64;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QTemporaryDir profile;
    QSettings settings(profile.filePath(QStringLiteral("kib.ini")), QSettings::IniFormat);

    kib::gui::CMainFrame frame(settings);
    frame.Host().boxHook = [](const kib::MessageBox& box) {
        std::printf("box: %s\n", box.text.c_str());
        return box.buttons == kib::BoxButtons::YesNo ? kib::BoxAnswer::Yes : kib::BoxAnswer::Ok;
    };
    frame.move(0, 0);
    frame.resize(1400, 900);
    frame.show();
    if (frame.OpenDocument(QString::fromLocal8Bit(argv[1])) == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    auto* tree = frame.Properties()->Grid()->Tree();
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    Shot(frame, out + QStringLiteral("/1-competition.png"));

    frame.Action(kib::gui::cmd::ViewSolution)->trigger();
    Shot(frame, out + QStringLiteral("/2-solution.png"));
    frame.Action(kib::gui::cmd::ViewCompetition)->trigger();

    frame.makeDialogHook = [&](kib::gui::CMakeDlg& dlg) {
        dlg.show();
        Settle(300);
        dlg.grab().save(out + QStringLiteral("/3-make-dialog.png"));
        dlg.accept();
        return dlg.result() == QDialog::Accepted;
    };
    // Make > Make Vector Maps..., as the user chooses it from the menu.
    bool made = false;
    for (QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == QStringLiteral("&Make") && menu->menu() != nullptr) {
            QAction* makeMaps = menu->menu()->actions().value(0);
            std::printf("menu Make > %s\n", makeMaps->text().toLocal8Bit().constData());
            makeMaps->trigger();
            made = true;
        }
    }
    if (!made) {
        std::fprintf(stderr, "no Make menu\n");
    }
    Shot(frame, out + QStringLiteral("/4-after-make.png"));

    // View > Map on station 1, task 1 and on the first task of the next station.
    frame.Action(kib::gui::cmd::ViewMap)->trigger();
    if (kib::gui::CMapView* map = frame.MapView()) {
        map->move(0, 0);
        map->ShowItem(1);
        Shot(*map, out + QStringLiteral("/7-map-view.png"));
        int next = map->Index();
        while (map->Item().station == 1 && map->Index() == next) {
            map->ShowItem(++next);
        }
        map->ShowItem(map->Index() + 1);
        Shot(*map, out + QStringLiteral("/8-map-view.png"));
        map->close();
    }

    // Make Raster Maps (PDF, the built-in converter): the window at the third
    // sheet of the conversion, its progress in the status bar.
    frame.makeDialogHook = [](kib::gui::CMakeDlg& dlg) {
        dlg.FormatButton(kib::OutputFormat::Pdf)->setChecked(true);
        dlg.ConverterButton(kib::Converter::BuiltIn)->setChecked(true);
        dlg.accept();
        return dlg.result() == QDialog::Accepted;
    };
    auto* bar = frame.statusBar()->findChild<QProgressBar*>(QStringLiteral("RunProgress"));
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QList<QLabel*> labels = frame.statusBar()->findChildren<QLabel*>();
        const bool converting = !labels.isEmpty() &&
                                labels.first()->text().startsWith(QStringLiteral("Generating MAP"));
        if (bar != nullptr && bar->isVisible() && bar->value() == 3 && converting) {
            watch.stop();
            Shot(frame, out + QStringLiteral("/9-progress.png"));
        }
    });
    watch.start();
    frame.Action(kib::gui::cmd::MakeMapImages)->trigger();
    watch.stop();

    // With "print": PNG maps of station 1 by Make Raster Maps, then printed to a PDF
    // file, pages 2 and 3 of the job, on A4 paper without margins (a sheet of the
    // paper's size then keeps its true size).
    if (argc > 3 && QByteArray(argv[3]) == "print") {
        frame.makeDialogHook = [](kib::gui::CMakeDlg& dlg) {
            dlg.StationList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
            dlg.FormatButton(kib::OutputFormat::Png)->setChecked(true);
            dlg.accept();
            return dlg.result() == QDialog::Accepted;
        };
        frame.Action(kib::gui::cmd::MakeMapImages)->trigger();
        Shot(frame, out + QStringLiteral("/5-after-raster.png"));
        kib::CKibDoc* doc = frame.ActiveDocument();
        const auto job = kib::gui::PreparePrinting(
            *doc, [&](kib::gui::CMakeDlg& dlg) { return frame.makeDialogHook(dlg); }, {});
        if (job) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out + QStringLiteral("/6-print.pdf"));
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 3);
            for (const std::string& file : kib::gui::PrintPages(printer, *doc, *job)) {
                std::printf("printed %s\n", file.c_str());
            }
        }
    }
    return 0;
}

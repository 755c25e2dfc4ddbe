#include "gui/make_dlg.h"

#include "app/builtin_convert.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/log.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kib::gui {

namespace {
constexpr int kMaxSelectedStations = 21;
}

CMakeDlg::CMakeDlg(const QString& title, bool showTasks, bool showFormat, const CKibCfg& cfg,
                   OutputFormat lastOutputFormat, QWidget* parent)
    : QDialog(parent), LastOutputFormat(lastOutputFormat), cfg_(cfg),
      stations_(new QListWidget(this)), tasks_(new QListWidget(this)),
      formatGroup_(new QGroupBox(tr("Output Format"), this)), pdf_(new QRadioButton(tr("PDF"))),
      ps_(new QRadioButton(tr("PS"))), eps_(new QRadioButton(tr("EPS"))),
      png_(new QRadioButton(tr("PNG"))),
      combine_(new QCheckBox(tr("Combine into one PDF (one print file of all the sheets)"))),
      inkscape_(new QRadioButton(tr("Inkscape"))), builtIn_(new QRadioButton(tr("Built-in"))) {
    setObjectName(QStringLiteral("MakeDialog"));
    setWindowTitle(title);
    resize(480, 320);

    auto* selection = new QGroupBox(tr("Map Selection"), this);
    auto* lists = new QHBoxLayout(selection);
    stations_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tasks_->setSelectionMode(QAbstractItemView::SingleSelection);
    lists->addWidget(stations_);
    lists->addWidget(tasks_);
    tasks_->setVisible(showTasks);

    auto* formatRows = new QVBoxLayout(formatGroup_);
    auto* formats = new QHBoxLayout();
    for (QRadioButton* b : {pdf_, ps_, eps_, png_}) {
        formats->addWidget(b);
    }
    formatRows->addLayout(formats);
    formatRows->addWidget(combine_);
    // Its own group, so that its buttons do not take turns with the formats'.
    converterGroup_ = new QGroupBox(tr("Converter"), this);
    auto* converters = new QHBoxLayout(converterGroup_);
    converters->addWidget(inkscape_);
    converters->addWidget(builtIn_);
    converters->addStretch(1);
    converterGroup_->setVisible(showFormat);
    inkscape_->setToolTip(tr("One Inkscape process per sheet"));
    builtIn_->setToolTip(tr("librsvg and cairo inside Kib: much faster"));
    builtIn_->setEnabled(BuiltInConverterAvailable());
    inkscape_->setChecked(true);
    // Only PDF files are gathered into one print file.
    combine_->setEnabled(false);
    connect(pdf_, &QRadioButton::toggled, combine_, &QCheckBox::setEnabled);
    formatGroup_->setVisible(showFormat);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMakeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMakeDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(selection, 1);
    layout->addWidget(formatGroup_);
    layout->addWidget(converterGroup_);
    layout->addWidget(buttons);

    MinStation = cfg.GetMinStation();
    MaxStation = cfg.GetMaxStation();
    stations_->addItem(tr("All stations"));
    for (int n = MinStation; n <= MaxStation; ++n) {
        stations_->addItem(QString::asprintf("Station %d", n));
    }
    stations_->setCurrentRow(0);
    TaskCount = cfg.Item(id::Event_TASKS).GetInt();
    FillTasks(0);
    if (QRadioButton* b = FormatButton(LastOutputFormat)) {
        b->setChecked(true);
    }
    connect(stations_, &QListWidget::itemSelectionChanged, this,
            &CMakeDlg::OnStationSelectionChanged);
}

QRadioButton* CMakeDlg::FormatButton(OutputFormat format) const {
    switch (format) {
    case OutputFormat::Pdf:
        return pdf_;
    case OutputFormat::Ps:
        return ps_;
    case OutputFormat::Eps:
        return eps_;
    case OutputFormat::Png:
        return png_;
    default:
        return nullptr;
    }
}

QRadioButton* CMakeDlg::ConverterButton(Converter converter) const {
    return converter == Converter::BuiltIn ? builtIn_ : inkscape_;
}

void CMakeDlg::SetConverter(Converter converter) {
    if (converter == Converter::BuiltIn && !builtIn_->isEnabled()) {
        converter = Converter::Inkscape;
    }
    ConverterButton(converter)->setChecked(true);
}

void CMakeDlg::SetCombine(bool combine) {
    combine_->setChecked(combine);
}

void CMakeDlg::FillTasks(int keepIndex) {
    tasks_->clear();
    tasks_->addItem(tr("All tasks"));
    tasks_->addItem(tr("Cover sheet"));
    for (int t = 1; t <= TaskCount; ++t) {
        tasks_->addItem(QString::asprintf("Task %d", t));
    }
    tasks_->setCurrentRow(keepIndex >= 0 && keepIndex <= TaskCount + 1 ? keepIndex : 0);
}

void CMakeDlg::OnStationSelectionChanged() {
    const QSignalBlocker block(stations_);
    const int b = stations_->currentRow();
    if (b > 0) {
        stations_->item(0)->setSelected(false);
        TaskCount = cfg_.GetTasks(MinStation + b - 1);
    } else {
        TaskCount = cfg_.Item(id::Event_TASKS).GetInt();
        stations_->setCurrentRow(0, QItemSelectionModel::Current);
    }
    FillTasks(tasks_->currentRow());
}

void CMakeDlg::accept() {
    const int taskIndex =
        tasks_->currentItem() && tasks_->currentItem()->isSelected() ? tasks_->currentRow() : -1;
    if (taskIndex < 0) {
        TaskChoice = -1;
    } else if (taskIndex > TaskCount + 1) {
        TaskChoice = -2;
    } else {
        TaskChoice = taskIndex - 1;
    }

    Stations = StationSet::Every();
    const int focused = stations_->currentRow();
    if (focused > 0) {
        Stations = StationSet::Of({});
        int taken = 0;
        // Entry 0 ("All stations") is never a station of its own.
        for (int i = 1; i < stations_->count() && taken < kMaxSelectedStations; ++i) {
            if (stations_->item(i)->isSelected()) {
                Stations.Add(MinStation + i - 1);
                ++taken;
            }
        }
    }

    if (formatGroup_->isVisibleTo(this)) {
        OutputFormat format = OutputFormat::None;
        if (pdf_->isChecked()) {
            format = OutputFormat::Pdf;
        } else if (png_->isChecked()) {
            format = OutputFormat::Png;
        } else if (ps_->isChecked()) {
            format = OutputFormat::Ps;
        } else if (eps_->isChecked()) {
            format = OutputFormat::Eps;
        }
        if (format == OutputFormat::None) {
            ShowBox("Select output format!", BoxIcon::Error);
            return;
        }
        LastOutputFormat = format;
        Combine = format == OutputFormat::Pdf && combine_->isChecked();
        ChosenConverter = builtIn_->isChecked() ? Converter::BuiltIn : Converter::Inkscape;
        App().Log().Debug("Selected radio for format #%d.", static_cast<int>(format));
    }
    QDialog::accept();
}

} // namespace kib::gui

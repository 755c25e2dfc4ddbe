// The Make dialog: which stations, which task and (for the raster commands)
// which output format, which converter and whether to combine the PDF files, for
// a Make command or a print job.
#pragma once

#include "app/converter.h"
#include "app/output_format.h"
#include "config/station_set.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace kib {
class CKibCfg;
}

class QCheckBox;

namespace kib::gui {

class CMakeDlg : public QDialog {
    Q_OBJECT
  public:
    // lastOutputFormat: the format chosen last, None when none yet.
    CMakeDlg(const QString& title, bool showTasks, bool showFormat, const CKibCfg& cfg,
             OutputFormat lastOutputFormat, QWidget* parent = nullptr);

    StationSet Stations; // every station, or the selected ones
    int TaskChoice = -1; // -1 all tasks, 0 cover sheet, t >= 1 task t, -2 beyond the list
    int MinStation = 1;
    int MaxStation = 0;
    int TaskCount = 0;
    OutputFormat LastOutputFormat = OutputFormat::None;
    bool Combine = false; // PDF: also one print file of every converted sheet
    Converter ChosenConverter = Converter::Inkscape;

    QListWidget* StationList() const { return stations_; }
    QListWidget* TaskList() const { return tasks_; }
    QRadioButton* FormatButton(OutputFormat format) const;
    QCheckBox* CombineBox() const { return combine_; }
    QRadioButton* ConverterButton(Converter converter) const;

    // A line of words above the buttons (the print dialog's word on true scale).
    void AddNote(const QString& text);
    QLabel* Note() const { return note_; }

    // The choices the dialog opens with (remembered for the configuration).
    void SetConverter(Converter converter);
    void SetCombine(bool combine);

  public slots:
    void accept() override;

  private:
    void OnStationSelectionChanged();
    void FillTasks(int keepIndex);

    const CKibCfg& cfg_;
    QListWidget* stations_;
    QListWidget* tasks_;
    QGroupBox* formatGroup_;
    QRadioButton* pdf_;
    QRadioButton* ps_;
    QRadioButton* eps_;
    QRadioButton* png_;
    QCheckBox* combine_;
    QGroupBox* converterGroup_ = nullptr;
    QRadioButton* inkscape_;
    QRadioButton* builtIn_;
    QLabel* note_ = nullptr;
};

} // namespace kib::gui

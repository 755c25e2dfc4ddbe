// One open configuration file: its configuration, where it lies, its state
// flags and the values several runs share.
#pragma once

#include "config/document_observer.h"
#include "config/kib_cfg.h"
#include "config/property_pane.h"
#include "foundation/diagnostics.h"
#include "foundation/file_stamp.h"
#include "foundation/input_bytes.h"

#include <memory>
#include <string>

namespace kib {

struct CoursesFileData; // of the map input (src/map_input/courses_xml.h)
struct RunResult;       // of the sheets (src/sheet/run_result.h)

class CKibDoc {
  public:
    CKibDoc();
    virtual ~CKibDoc();
    CKibDoc(const CKibDoc&) = delete;
    CKibDoc& operator=(const CKibDoc&) = delete;

    // The host that asks the user and shows boxes, and the diagnostics that
    // everything reported about this document goes into (its configuration's
    // items too). Until they are given nothing is reported and every question
    // gets its default answer. The program gives them to each document it makes.
    void UseServices(Host& host, Diagnostics& diagnostics);
    // The properties pane that edits the document and the observer of its
    // windows (the desktop application's; none elsewhere).
    void UseWindows(PropertyPane& pane, DocumentObserver& observer);
    Host& GetHost() const { return *host_; }
    Diagnostics& Diag() const { return *diagnostics_; }
    PropertyPane& Pane() const { return *pane_; }

    // Configuration file (reader and writer). When the file cannot be opened,
    // OnOpenDocument answers false without a message; OpenFailure() then says why
    // ("No such file or directory", "it is a FIFO (named pipe), not a regular file").
    // Reading the exports after a load is the application's workflow
    // (LoadDocument in src/app/documents.h).
    bool OnOpenDocument(const std::string& path);
    const std::string& OpenFailure() const { return openFailure_; }
    bool OnSaveDocument(const std::string& path);
    void OnCloseDocument();

    // Path parts: directory (ending with "/", or empty) and file name.
    void SetPathParts(const std::string& path);
    const std::string& GetDirectory() const { return directory_; }
    const std::string& GetFileName() const { return fileName_; }
    std::string GetPathName() const { return directory_ + fileName_; }
    // "name" or "name [directory]".
    std::string GetDisplayName() const;

    // Paths relative to the configuration file's directory.
    std::string MakePath(const std::string& path) const;
    std::string MakeRelativePath(const std::string& absolutePath) const;

    // Export freshness check with its two stamp files; false when the user declined.
    bool CheckExports();
    bool MakeStamp(const std::string& path, FileStamp time);
    std::string CoursesStampPath() const { return GetPathName() + ".lc.kib"; }
    std::string MapsStampPath() const { return GetPathName() + ".lm.kib"; }

    void SetMapsMode(bool solution);
    bool GetMapsMode() const { return mapsMode_; }

    CKibCfg* GetConfig() const { return cfg_.get(); }
    // Replaces the configuration with a fresh one whose items are all unset.
    CKibCfg& NewConfig();

    bool IsLoaded() const { return loaded_; }
    void SetLoaded(bool v) { loaded_ = v; }
    bool IsNeverSaved() const { return neverSaved_; }
    void SetNeverSaved(bool v) { neverSaved_ = v; }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool v = true) {
        if (modified_ != v) {
            modified_ = v;
            NotifyModifiedChanged();
        }
    }
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // What loading the configuration reported: it counts in every command's verdict.
    Verdict loadVerdict = Verdict::Success;
    int mapScale = 0;
    int canvasesPerSheet = 0;
    float mapZoom = 0.0f;
    int lineNo = 0; // line counter of the configuration reader
    // The courses file as the map input last read it, kept while the file stays the
    // same, so that a command reads it once for its courses list and every station.
    std::shared_ptr<const CoursesFileData> coursesFile;
    // The map export the map input last read, kept while the file stays the same,
    // so that a command reads it once for the map zoom and the station's map.
    std::shared_ptr<const InputBytes> mapExport;
    // The last competition maps run of this document in this program run (Make
    // Vector Maps, Make Raster Maps): the map view shows exactly its sheets.
    std::shared_ptr<const RunResult> mapsRun;

    // Tells the document observer that the document was loaded or created.
    void NotifyOpened() { observer_->DocumentOpened(*this); }
    // Tells the document observer that what the document shows changed.
    void NotifyChanged();
    // Tells the document observer that the modified flag changed.
    void NotifyModifiedChanged();

  private:
    NullHost noHost_;
    SilentDiagnostics silent_;
    NullPropertyPane noPane_;
    NullDocumentObserver noObserver_;
    Host* host_ = &noHost_;
    Diagnostics* diagnostics_ = &silent_;
    PropertyPane* pane_ = &noPane_;
    DocumentObserver* observer_ = &noObserver_;
    bool loaded_ = false;
    bool neverSaved_ = false;
    bool mapsMode_ = false;
    bool modified_ = false;
    std::string title_;
    std::unique_ptr<CKibCfg> cfg_;
    std::string directory_;
    std::string fileName_;
    std::string openFailure_;
};

} // namespace kib

// One open configuration file: its configuration, where it lies, its state
// flags and the values several runs share.
#pragma once

#include "config/kib_cfg.h"
#include "foundation/file_stamp.h"

#include <functional>
#include <memory>
#include <string>

namespace kib {

class CKibDoc {
  public:
    CKibDoc();
    virtual ~CKibDoc();
    CKibDoc(const CKibDoc&) = delete;
    CKibDoc& operator=(const CKibDoc&) = delete;

    // New document: lets the user choose an export folder through the host and
    // creates the configuration from it (NewFromFolder). False when cancelled or
    // when the folder holds no usable exports; the document is then discarded.
    bool OnNewDocument();
    // Creates the configuration from the export folder, closing with a message box.
    // On success the document is loaded, modified and never saved, its directory
    // is the folder and its file name its title. (src/config/cfg_create.cpp)
    bool NewFromFolder(const std::string& folder);

    // Configuration file (reader and writer). When the file cannot be opened,
    // OnOpenDocument answers false without a message; OpenFailure() then says why
    // ("No such file or directory", "it is a FIFO (named pipe), not a regular file").
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
    static bool MakeStamp(const std::string& path, FileStamp time);
    std::string CoursesStampPath() const { return GetPathName() + ".lc.kib"; }
    std::string MapsStampPath() const { return GetPathName() + ".lm.kib"; }

    // Reads the courses file for the map scale and the first station's map for its
    // zoom. Done after every load and at the start of every Make command.
    void ReadCourseList();
    void ReadMapZoom();

    // The layout check of the Make commands, the tab switch and the properties pane:
    // both kinds (competition, then solution) or the current maps mode, for every
    // station from the first to the last (station 0 when no range is set).
    // Defined with the sheet layout (src/sheet/check_layout.cpp).
    bool CheckLayout(bool bothModes);

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
            if (modifiedChanged) {
                modifiedChanged();
            }
        }
    }
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    int mapScale = 0;
    int canvasesPerSheet = 0;
    float mapZoom = 0.0f;
    int lineNo = 0; // line counter of the configuration reader

    // Called when the preview must be redrawn with its background erased.
    std::function<void()> invalidateView;
    // Called when the modified flag changes (the window marks unsaved changes).
    std::function<void()> modifiedChanged;

  private:
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

// The document workflows that read the exports: opening a configuration file,
// and creating a configuration from an OCAD export folder.
#pragma once

#include <string>

namespace kib {

class CKibDoc;

// Opens the configuration file into the document (CKibDoc::OnOpenDocument) and,
// once it is loaded, reads the map scale of its courses file and the zoom of its
// first map. False when the file could not be read or its format was not recognised.
// Gives a document the program's services: the installed host, the application
// log as its diagnostics, the properties pane and the document observer.
void AttachDocument(CKibDoc& doc);

bool LoadDocument(CKibDoc& doc, const std::string& path);

// New document: lets the user choose an export folder through the host and
// creates the configuration from it (CreateDocumentFromFolder). False when
// cancelled or when the folder holds no usable exports; the document is then
// discarded.
bool CreateDocument(CKibDoc& doc);

// Creates the configuration from the export folder, closing with a message box.
// On success the document is loaded, modified and never saved, its directory is
// the folder and its file name its title.
bool CreateDocumentFromFolder(CKibDoc& doc, const std::string& folder);

// Derives the document's fresh configuration from an OCAD export directory (ending
// with "/", the document's own): the file names give the event name, templates and
// station range; the first station's map the special symbol numbers and scale;
// every station's map and course the event's tasks and flags, each station's own
// where they differ, and the answers of a station whose descriptions hold none.
// The layout is made to fit the largest station and checked at the end. False
// (after error lines) when the directory holds no usable exports.
bool CreateFromDirectory(CKibDoc& doc, const std::string& directory);

} // namespace kib

// The combination of PDF files with qpdf (not part of the Windows build, which
// has no qpdf).
#include "app/pdf_combine.h"

#include "platform/files.h"
#include "platform/process.h"

// qpdf 11: its pointer type is a std::shared_ptr; no transitional warnings.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <list>

namespace kib {

bool CombinePdfFiles(const std::vector<std::string>& parts, const std::string& target,
                     std::string& error) {
    if (parts.empty()) {
        error = "no PDF file to combine";
        return false;
    }
    const std::string temp = target + "-tmp" + std::to_string(platform::ProcessId()) + ".pdf";
    try {
        QPDF combined;
        combined.emptyPDF();
        QPDFPageDocumentHelper pages(combined);
        // The source documents must live until the combined one is written.
        std::list<QPDF> sources;
        for (const std::string& part : parts) {
            QPDF& source = sources.emplace_back();
            source.processFile(part.c_str());
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(source).getAllPages()) {
                pages.addPage(page, false);
            }
        }
        QPDFWriter writer(combined, temp.c_str());
        writer.write();
    } catch (const std::exception& e) {
        int ignored = 0;
        platform::RemoveFile(temp, ignored);
        error = e.what();
        return false;
    }
    int failure = 0;
    if (!platform::MoveReplacing(temp, target, failure)) {
        platform::RemoveFile(temp, failure);
        error = "cannot rename " + temp + " to " + target;
        return false;
    }
    return true;
}

} // namespace kib

#include "app/pdf_combine.h"

#include "foundation/log.h"

// qpdf 11: its pointer type is a std::shared_ptr; no transitional warnings.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <list>
#include <unistd.h>

namespace kib {

bool CombinePdfFiles(const std::vector<std::string>& parts, const std::string& target,
                     std::string& error) {
    if (parts.empty()) {
        error = "no PDF file to combine";
        return false;
    }
    const std::string temp = target + "-tmp" + std::to_string(::getpid()) + ".pdf";
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
        std::remove(temp.c_str());
        error = e.what();
        return false;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        error = "cannot rename " + temp + " to " + target;
        return false;
    }
    return true;
}

bool CombineConvertedSheets(const std::vector<std::string>& parts, const std::string& target) {
    for (const std::string& part : parts) {
        if (::access(part.c_str(), R_OK) != 0) {
            LogError("[** ERROR **] Cannot combine the sheets into %s: %s is missing; the single "
                     "files are kept.",
                     target.c_str(), part.c_str());
            return false;
        }
    }
    std::string error;
    if (!CombinePdfFiles(parts, target, error)) {
        LogError("[** ERROR **] Cannot combine the sheets into %s: %s; the single files are kept.",
                 target.c_str(), error.c_str());
        return false;
    }
    LogInfo("%d sheets combined into %s.", static_cast<int>(parts.size()), target.c_str());
    return true;
}

} // namespace kib

// The combination of PDF files with qpdf (not part of the Windows build, which
// has no qpdf).
#include "app/pdf_combine.h"

#include "app/converted_file.h"
#include "foundation/atomic_file.h"

// qpdf 11: its pointer type is a std::shared_ptr; no transitional warnings.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <list>
#include <stdexcept>

namespace kib {

namespace {

// The end of qpdf's output: the bytes go into the new file, and a failed write
// (a full disk) ends the writing at once.
class AtomicFilePipeline : public Pipeline {
  public:
    explicit AtomicFilePipeline(AtomicFile& file)
        : Pipeline("combined PDF", nullptr), file_(file) {}
    void write(unsigned char const* data, size_t len) override {
        if (!file_.Write(std::string_view(reinterpret_cast<const char*>(data), len))) {
            throw std::runtime_error(file_.Reason());
        }
    }
    void finish() override {}

  private:
    AtomicFile& file_;
};

// Why the combined file is not a whole PDF of pages pages: the checks of every
// converted PDF, then qpdf reads it back and counts its pages.
std::string CombinedFileFault(const std::string& path, std::size_t pages) {
    std::string reason = IncompleteReason(path, "pdf");
    if (!reason.empty()) {
        return reason;
    }
    try {
        QPDF written;
        written.processFile(path.c_str());
        const std::size_t count = QPDFPageDocumentHelper(written).getAllPages().size();
        if (count != pages) {
            return "it has " + std::to_string(count) + " pages instead of " + std::to_string(pages);
        }
    } catch (const std::exception& e) {
        return std::string("qpdf cannot read it back: ") + e.what();
    }
    return {};
}

} // namespace

bool CombinePdfFiles(const std::vector<std::string>& parts, const std::string& target,
                     std::string& error) {
    if (parts.empty()) {
        error = "no PDF file to combine";
        return false;
    }
    AtomicFile file;
    if (!file.Begin(target)) {
        error = "cannot write " + file.TemporaryPath() + ": " + file.Reason();
        return false;
    }
    std::size_t pageCount = 0;
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
                ++pageCount;
            }
        }
        AtomicFilePipeline output(file);
        QPDFWriter writer(combined);
        writer.setOutputPipeline(&output);
        writer.write();
    } catch (const std::exception& e) {
        error = file.Failed() == AtomicFile::Failure::Write ? file.Reason() : e.what();
        file.Abandon();
        return false;
    }
    if (!file.Commit(
            [pageCount](const std::string& path) { return CombinedFileFault(path, pageCount); })) {
        error = file.Reason();
        return false;
    }
    return true;
}

} // namespace kib

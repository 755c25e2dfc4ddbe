// The built-in converter's workers. Only drawing runs on them (DrawSheet, which
// logs nothing and touches no application state); the stop poll, the progress,
// the log and the placing of the files stay on the main thread.
#include "app/builtin_workers.h"

#include "foundation/log.h"
#include "foundation/run_control.h"
#include "platform/files.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace kib {

namespace {

// The sheets of one conversion: the main thread hands them out in order, the
// workers draw them, the main thread takes each drawing in order.
class DrawingQueue {
  public:
    DrawingQueue(const std::vector<SheetConversion>& sheets, OutputFormat format,
                 const PngEncoding& encoding)
        : sheets_(sheets), format_(format), encoding_(encoding), drawings_(sheets.size()) {}

    // The workers may draw the sheets before index `count`.
    void HandOut(std::size_t count) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            handedOut_ = count;
        }
        ready_.notify_all();
    }

    // The workers end once every sheet handed out is drawn.
    void Close() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

    // The drawing of sheet i, which has been handed out, once it is done.
    SheetDrawing Take(std::size_t i) {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [&] { return drawings_[i].has_value(); });
        SheetDrawing drawing = std::move(*drawings_[i]);
        drawings_[i].reset();
        return drawing;
    }

    // One worker: draws the next sheet handed out until the queue is closed, in
    // one band of pixels of its own.
    void Work() {
        PixelBand band;
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [&] { return closed_ || next_ < handedOut_; });
                if (next_ >= handedOut_) {
                    return;
                }
                i = next_++;
            }
            const SheetConversion& sheet = sheets_[i];
            SheetDrawing drawing;
            try {
                drawing =
                    DrawSheet(sheet.base, format_, sheet.dpi, sheet.zSuffix, encoding_, &band);
            } catch (const std::exception& e) {
                // No memory even for the drawing's own record: the sheet fails.
                drawing = SheetDrawing{};
                drawing.errors.push_back("Cannot convert '" + sheet.base + ".svg': " + e.what());
            }
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                drawings_[i] = std::move(drawing);
            }
            done_.notify_all();
        }
    }

  private:
    const std::vector<SheetConversion>& sheets_;
    const OutputFormat format_;
    const PngEncoding encoding_;
    std::mutex mutex_;
    std::condition_variable ready_; // a sheet was handed out, or the queue closed
    std::condition_variable done_;  // a sheet was drawn
    std::vector<std::optional<SheetDrawing>> drawings_;
    std::size_t handedOut_ = 0;
    std::size_t next_ = 0; // the next sheet a worker takes
    bool closed_ = false;
};

// The worker threads, closed and joined however the conversion ends.
class Workers {
  public:
    Workers(DrawingQueue& queue, std::size_t count) : queue_(queue) {
        for (std::size_t k = 0; k < count; ++k) {
            try {
                threads_.emplace_back(&DrawingQueue::Work, &queue_);
            } catch (const std::system_error&) {
                break; // the system gives no more threads: fewer workers
            }
        }
    }
    ~Workers() {
        queue_.Close();
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    std::size_t Count() const { return threads_.size(); }

  private:
    DrawingQueue& queue_;
    std::vector<std::thread> threads_;
};

// Without a worker thread, the sheets are drawn on the main thread one by one.
bool ConvertOneByOne(const std::vector<SheetConversion>& sheets, OutputFormat format,
                     StopRequest& stop, const HandOutHook& handOut, const ReportHook& report,
                     const PngEncoding& encoding) {
    PixelBand band;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (stop.Requested()) {
            return false;
        }
        handOut(i);
        const SheetConversion& sheet = sheets[i];
        SheetDrawing drawing =
            DrawSheet(sheet.base, format, sheet.dpi, sheet.zSuffix, encoding, &band);
        report(i, drawing);
    }
    return true;
}

} // namespace

namespace {

// What the drawings in flight may take together, on top of what the run holds
// already (about 40 MB for trimmed sheets): a run of trimmed sheets stays below
// 100 MB on a machine of any size.
constexpr std::uint64_t kWorkersMemory = 48u << 20;
// What one drawing takes besides its PNG band: the fonts, cairo's surface and
// librsvg's tree of the sheet, about 20 times the bytes of its SVG file.
constexpr std::uint64_t kDrawingMemory = 8u << 20;
constexpr std::uint64_t kTreeBytesPerSvgByte = 20;
// What one picture of a trimmed sheet takes: the drawing, its pixels (a full-size
// solution sheet, 1800 pixels wide, is the largest, 18 MB) and the files' buffers.
constexpr std::uint64_t kPictureMemory = 24u << 20;
// The sheet whose tree kPictureMemory holds; each byte beyond adds to its tree.
constexpr std::uint64_t kPictureSheetBytes = 400u << 10;

} // namespace

int BuiltInWorkers(OutputFormat format, const std::vector<SheetConversion>& sheets) {
    std::uint64_t largest = 0;
    for (const SheetConversion& sheet : sheets) {
        largest =
            std::max<std::uint64_t>(largest, static_cast<std::uint64_t>(std::max<std::int64_t>(
                                                 0, platform::FileSize(sheet.base + ".svg"))));
    }
    const std::uint64_t perDrawing = kDrawingMemory + kTreeBytesPerSvgByte * largest +
                                     (format == OutputFormat::Png ? kPngBandBytes : 0);
    const auto cores =
        static_cast<std::uint64_t>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::uint64_t>(kWorkersMemory / perDrawing, 1, cores));
}

bool ConvertBuiltInSheets(const std::vector<SheetConversion>& sheets, OutputFormat format,
                          StopRequest& stop, const HandOutHook& handOutHook,
                          const ReportHook& reportHook, int workers, const PngEncoding& encoding) {
    const HandOutHook handOut = handOutHook ? handOutHook : [&sheets](std::size_t i) {
        if (!sheets[i].statusText.empty()) {
            SetStatusText(sheets[i].statusText);
        }
    };
    const ReportHook report = reportHook ? reportHook : [](std::size_t, SheetDrawing& drawing) {
        ReportDrawing(drawing);
    };
    const std::size_t n = sheets.size();
    const std::size_t wanted =
        static_cast<std::size_t>(workers > 0 ? workers : BuiltInWorkers(format, sheets));
    if (std::min(wanted, n) <= 1) {
        return ConvertOneByOne(sheets, format, stop, handOut, report, encoding);
    }
    DrawingQueue queue(sheets, format, encoding);
    Workers threads(queue, std::min(wanted, n));
    const std::size_t count = threads.Count();
    if (count == 0) {
        return ConvertOneByOne(sheets, format, stop, handOut, report, encoding);
    }
    // At most one sheet per worker is handed out ahead of the one reported next,
    // so that a stop leaves no more than that to finish.
    std::size_t handedOut = 0;
    bool stopped = false;
    for (std::size_t i = 0; i < n; ++i) {
        while (!stopped && handedOut < n && handedOut < i + count) {
            if (stop.Requested()) {
                stopped = true;
                break;
            }
            handOut(handedOut);
            queue.HandOut(++handedOut);
        }
        if (i >= handedOut) {
            break;
        }
        SheetDrawing drawing = queue.Take(i);
        report(i, drawing);
    }
    return !stopped;
}

int PictureWorkers() {
    const auto cores =
        static_cast<std::uint64_t>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::uint64_t>(kWorkersMemory / kPictureMemory, 1, cores));
}

std::uint64_t PictureMemory(std::uint64_t svgBytes) {
    return kPictureMemory + kTreeBytesPerSvgByte *
                                (svgBytes > kPictureSheetBytes ? svgBytes - kPictureSheetBytes : 0);
}

std::uint64_t PictureMemoryBudget() {
    return kWorkersMemory;
}

void MemoryGate::Enter(std::uint64_t share) {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [&] { return jobs_ == 0 || inside_ + share <= budget_; });
    inside_ += share;
    ++jobs_;
    peak_ = std::max(peak_, inside_);
}

void MemoryGate::Leave(std::uint64_t share) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        inside_ -= std::min(inside_, share);
        --jobs_;
    }
    room_.notify_all();
}

std::uint64_t MemoryGate::Peak() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return peak_;
}

JobQueue::~JobQueue() {
    Finish();
}

void JobQueue::Start(int threads) {
    for (int k = 0; k < threads; ++k) {
        try {
            threads_.emplace_back([this] {
                while (const std::function<void()> job = Next()) {
                    job();
                }
            });
        } catch (const std::system_error&) {
            break; // the system gives no more threads: fewer workers
        }
    }
}

void JobQueue::Add(std::function<void()> job, bool first) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (first) {
            waiting_.push_front(std::move(job));
        } else {
            waiting_.push_back(std::move(job));
        }
    }
    wake_.notify_one();
}

std::function<void()> JobQueue::Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return finishing_ || !waiting_.empty(); });
    if (waiting_.empty()) {
        return {};
    }
    std::function<void()> job = std::move(waiting_.front());
    waiting_.pop_front();
    return job;
}

void JobQueue::Finish() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
    }
    wake_.notify_all();
    while (const std::function<void()> job = Next()) {
        job();
    }
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    const std::lock_guard<std::mutex> lock(mutex_);
    finishing_ = false;
}

} // namespace kib

// The built-in converter on every core: sheets drawn side by side on worker
// threads, reported and placed one after the other on the main thread.
#pragma once

#include "app/builtin_convert.h"
#include "app/conversion_loop.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kib {

class StopRequest;

// How many sheets the built-in converter draws at once: one per core of the
// machine, at least one, and no more than the memory bound allows for the
// sheets' PNG bands (builtin_workers.cpp).
int BuiltInWorkers(OutputFormat format, const std::vector<SheetConversion>& sheets);

// Called on the main thread after the stop poll, before sheet i is handed out.
using HandOutHook = std::function<void(std::size_t i)>;
// Called on the main thread, in the sheets' order, once sheet i is drawn: it
// reports the drawing and places its file (ReportDrawing).
using ReportHook = std::function<void(std::size_t i, SheetDrawing& drawing)>;

// Converts the sheets with the built-in converter, `workers` at a time (0:
// BuiltInWorkers), each drawn whole by one worker with its own librsvg handle
// and cairo surface. The main thread polls for a stop before it hands out each
// sheet and calls handOut then (none: the sheet's status text is shown); it
// reports every sheet with report (none: ReportDrawing) in the order of the
// sheets once that sheet is drawn, so neither the log nor the files depend on
// the number of workers. After a stop no sheet is handed out: those being drawn
// are finished, reported and placed, and the result is false. stop is polled
// before each sheet is handed out.
bool ConvertBuiltInSheets(const std::vector<SheetConversion>& sheets, OutputFormat format,
                          StopRequest& stop, const HandOutHook& handOut = {},
                          const ReportHook& report = {}, int workers = 0,
                          const PngEncoding& encoding = SheetPngEncoding());

// How many pictures of sheets may be drawn at once (the proof page): one per
// core, no more than the memory bound allows for pictures of trimmed sheets.
// Larger sheets pass a MemoryGate too.
int PictureWorkers();

// What drawing the pictures of a sheet of svgBytes takes: the drawing, the
// pictures' pixels and buffers, and librsvg's tree of the sheet.
std::uint64_t PictureMemory(std::uint64_t svgBytes);

// Lets jobs on several threads take memory together only within a budget: a
// job waits until what the jobs inside take leaves room for its share, and a
// job alone always goes in, so that the largest sheet is drawn by itself.
class MemoryGate {
  public:
    explicit MemoryGate(std::uint64_t budget) : budget_(budget) {}
    MemoryGate(const MemoryGate&) = delete;
    MemoryGate& operator=(const MemoryGate&) = delete;

    void Enter(std::uint64_t share);
    void Leave(std::uint64_t share);
    // The most the jobs inside ever took together.
    std::uint64_t Peak() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::uint64_t budget_;
    std::uint64_t inside_ = 0;
    int jobs_ = 0;
    std::uint64_t peak_ = 0;
};

// A job's share of a gate, held while the object lives.
class MemoryShare {
  public:
    MemoryShare(MemoryGate& gate, std::uint64_t share) : gate_(gate), share_(share) {
        gate_.Enter(share_);
    }
    ~MemoryShare() { gate_.Leave(share_); }
    MemoryShare(const MemoryShare&) = delete;
    MemoryShare& operator=(const MemoryShare&) = delete;

  private:
    MemoryGate& gate_;
    std::uint64_t share_;
};

// What the proof's pictures may take together (the workers' bound).
std::uint64_t PictureMemoryBudget();

// Jobs run on threads of their own while the calling thread goes on with other
// work, taken in the order they wait in. Finish makes the calling thread one
// more worker until every job given has run, then ends the threads. Each job
// touches only its own data and logs nothing.
class JobQueue {
  public:
    JobQueue() = default;
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;
    ~JobQueue();

    // Starts up to `threads` more threads (fewer when the system gives no
    // more; with none, Finish runs every job on the calling thread).
    void Start(int threads);
    // Adds a job behind the waiting ones, or ahead of them when first.
    void Add(std::function<void()> job, bool first = false);
    // Runs the waiting jobs on the calling thread too, until every job has run.
    void Finish();

  private:
    // The next job, or none once the queue is finishing and no job waits.
    std::function<void()> Next();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> waiting_;
    bool finishing_ = false;
    std::vector<std::thread> threads_;
};

} // namespace kib

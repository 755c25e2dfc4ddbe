// The built-in converter on every core: sheets drawn side by side on worker
// threads, reported and placed one after the other on the main thread.
#pragma once

#include "app/builtin_convert.h"
#include "app/conversion_loop.h"

#include <condition_variable>
#include <cstddef>
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

// How many pictures of sheets are drawn at once (the proof page): one per core,
// no more than the memory bound allows.
int PictureWorkers();

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

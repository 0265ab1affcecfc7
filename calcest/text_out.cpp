#include "calcest/text_out.h"

#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdarg>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "common/large_memory.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

struct HandedBlocks {
  int pending = 0;      // handed over, not yet written (under the writer's lock)
  bool failed = false;  // a byte of one of them did not reach the file
};

namespace {

// Writes the bytes whole; false when some did not reach the file.
bool writeWhole(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

// The buffers of the files and of the blocks in hand, lent out of one table:
// a run fills them as one huge page where the kernel gives one, not as a few
// hundred small ones. More than it holds (another run in the same process
// still writing, say) come from the heap.
constexpr size_t kLentBuffers = 28;  // 28 blocks of 72 KiB fill 2 MiB: the 15 files and 8 blocks in hand

BlockPool& lentBuffers() {
  static BlockPool* pool = new BlockPool(TextOut::kFirstRoom, kLentBuffers);  // kept to the end: buffers outlive statics
  return *pool;
}

void giveBack(char* block) { lentBuffers().give(block); }

// An empty buffer with room for a block and the line that ends it.
TextBuffer blockBuffer() {
  if (char* block = lentBuffers().take()) return TextBuffer(block, TextOut::kFirstRoom, giveBack);
  TextBuffer buffer;
  buffer.reserve(TextOut::kFirstRoom);
  return buffer;
}

// The thread that writes the blocks of every TextOut, each file's in the order
// they were handed over, while the run formats the next ones: the two cores
// share the formatting and the system's work of taking the bytes in. Emptied
// buffers come back for the next blocks, and no more than kInHand blocks wait
// at once, so memory stays a few megabytes whatever the run writes. Bytes to
// be made here (defer) wait apart: what they hold is small, so the run goes
// on while many wait, up to kHeldAtMost bytes of them; and while any wait, a
// file with nothing here writes its own blocks at once, on the run's thread,
// rather than queue behind them.
class BlockWriter {
 public:
  // The process's writer; null when no thread can be started (the blocks are
  // then written at once by the caller). Only a run that outgrows a buffer
  // starts it (`start`): a small one writes each file whole at its end, as
  // fast without a thread to start and to wait for. TextOut is used by one
  // thread only, as is this.
  static BlockWriter* get(bool start) {
    static bool started = false;
    if (!started && !start) return nullptr;
    started = true;
    static BlockWriter writer;
    return writer.thread_.joinable() ? &writer : nullptr;
  }

  // Takes the bytes of `buffer` to write to fd, leaving it empty (with room);
  // false, taking nothing, when bytes to be made wait and none of this file's:
  // the caller writes its bytes itself.
  bool post(int fd, TextBuffer& buffer, HandedBlocks& blocks) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (makeJobs_ > 0 && blocks.pending == 0) return false;
    done_.wait(lock, [this] { return bufferJobs_ < kInHand; });
    TextBuffer spare;
    if (!spare_.empty()) {
      spare = std::move(spare_.back());
      spare_.pop_back();
    } else {
      spare = blockBuffer();
    }
    jobs_.push_back(Job{fd, std::move(buffer), nullptr, 0, &blocks});
    buffer = std::move(spare);
    ++blocks.pending;
    ++bufferJobs_;
    work_.notify_one();
    return true;
  }

  // Takes `make`, which holds about `held` bytes, to make bytes for fd, then
  // write them.
  void post(int fd, std::function<void(TextOut::Made&)> make, size_t held, HandedBlocks& blocks) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this, held] { return makeJobs_ == 0 || heldBytes_ + held <= kHeldAtMost; });
    jobs_.push_back(Job{fd, TextBuffer(), std::move(make), held, &blocks});
    ++blocks.pending;
    ++makeJobs_;
    heldBytes_ += held;
    work_.notify_one();
  }

  // Waits until every block of `blocks` is written.
  void settle(HandedBlocks& blocks) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&blocks] { return blocks.pending == 0; });
  }

  ~BlockWriter() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    work_.notify_one();
    thread_.join();
  }

 private:
  static constexpr size_t kInHand = 4, kHeldAtMost = size_t{8} << 20;
  struct Job {
    int fd;
    TextBuffer bytes;
    std::function<void(TextOut::Made&)> make;  // when set, makes the bytes
    size_t held;                               // what make holds
    HandedBlocks* blocks;
  };

  BlockWriter() {
    spare_.reserve(kInHand + 1);
    try {
      thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
    }
  }

  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      work_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      if (job.make) {
        --makeJobs_;
        heldBytes_ -= job.held;
      } else {
        --bufferJobs_;
      }
      if (job.make) {
        if (!spare_.empty()) {
          job.bytes = std::move(spare_.back());
          spare_.pop_back();
        } else {
          job.bytes = blockBuffer();
        }
      }
      lock.unlock();
      bool ok = true;
      if (job.make) {
        TextOut::Made made(job.bytes, [&job, &ok] {
          ok = ok && writeWhole(job.fd, job.bytes.data(), job.bytes.size());
          job.bytes.clear();
        });
        try {
          job.make(made);
        } catch (...) {  // no memory for the bytes: they do not reach the file
          ok = false;
        }
        job.make = nullptr;
      }
      ok = ok && writeWhole(job.fd, job.bytes.data(), job.bytes.size());
      job.bytes.clear();
      lock.lock();
      if (!ok) job.blocks->failed = true;
      --job.blocks->pending;
      if (spare_.size() < kInHand) spare_.push_back(std::move(job.bytes));
      done_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_, done_;
  std::deque<Job> jobs_;
  std::vector<TextBuffer> spare_;
  size_t bufferJobs_ = 0, makeJobs_ = 0, heldBytes_ = 0;  // waiting in jobs_
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

TextOut::TextOut() : blocks_(std::make_unique<HandedBlocks>()) {}

TextOut::~TextOut() { settle(); }

void TextOut::settle() {
  if (handed_) BlockWriter::get(true)->settle(*blocks_);
}

bool TextOut::tryOpen(const std::string& name, OutputFolders* folders) {
  settle();
  buffer_ = TextBuffer();
  name_ = name;
  writing_ = written_ = writeFailed_ = false;
  blocks_->failed = false;
  if (!file_.open(name, folders)) return false;
  std::setvbuf(file_.file(), nullptr, _IONBF, 0);  // buffer_ does the buffering
  buffer_ = blockBuffer();
  writing_ = true;
  return true;
}

void TextOut::open(const std::string& name) {
  if (!tryOpen(name)) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
}

void TextOut::flush(bool full) {
  if (!buffer_.size()) return;
  // Bytes written at once on the run's thread, by every file: the writing
  // thread starts only once they show a run that writes megabytes.
  static size_t writtenAtOnce = 0;
  if (BlockWriter* writer = BlockWriter::get(full && writtenAtOnce >= kStartWriterAfter)) {
    if (writer->post(fileno(file_.file()), buffer_, *blocks_)) {
      handed_ = true;
      return;
    }
  }
  if (!writeWhole(fileno(file_.file()), buffer_.data(), buffer_.size())) writeFailed_ = true;
  writtenAtOnce += buffer_.size();
  buffer_.clear();
}

void TextOut::defer(std::function<void(Made&)> make, size_t held) {
  if (!writing_) return;
  written_ = true;
  if (BlockWriter* writer = BlockWriter::get(false)) {
    flush(false);  // what was buffered comes first
    writer->post(fileno(file_.file()), std::move(make), held, *blocks_);
    handed_ = true;
    return;
  }
  Made made(buffer_, [this] { flush(true); });
  make(made);
  made.cut();
}

void TextOut::finish() {
  if (!writing_) return;
  flush(false);
  writing_ = false;
  buffer_ = TextBuffer();
}

bool TextOut::writeFailed() {
  settle();
  if (blocks_->failed) writeFailed_ = true;
  if (file_.isOpen() && (std::fflush(file_.file()) != 0 || std::ferror(file_.file()) != 0)) writeFailed_ = true;
  return writeFailed_;
}

bool TextOut::commit() {
  finish();
  if (writeFailed()) {
    file_.discard();
    return false;
  }
  return file_.commit();
}

void TextOut::print(const char* fmt, ...) {
  if (!writing_) return;
  written_ = true;
  va_list args;
  va_start(args, fmt);
  formats_.appendV(buffer_, fmt, args);
  va_end(args);
  if (buffer_.size() >= kFlushAt) flush(true);
}

}  // namespace calcest

#pragma once
// Where the encoders put their bytes: a growing memory buffer or a file.
// The TIFF writer patches its header last, so a stream can seek back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace klipora::imaging {

class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Writes at the current position and advances it; raises klipora::Error.
  virtual void write(std::span<const std::uint8_t> bytes) = 0;
  virtual std::uint64_t position() const = 0;
  virtual void seek(std::uint64_t offset) = 0;

  void write(const void* data, std::size_t size) {
    write(std::span(static_cast<const std::uint8_t*>(data), size));
  }
};

class MemoryStream final : public OutputStream {
 public:
  void write(std::span<const std::uint8_t> bytes) override;
  using OutputStream::write;
  std::uint64_t position() const override { return position_; }
  void seek(std::uint64_t offset) override;

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// Creates or overwrites a file. The path is UTF-8; on POSIX hosts '\' counts
// as '/'. Errors carry the path and the system's reason.
class FileStream final : public OutputStream {
 public:
  explicit FileStream(const std::string& path);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  void write(std::span<const std::uint8_t> bytes) override;
  using OutputStream::write;
  std::uint64_t position() const override;
  void seek(std::uint64_t offset) override;

  // Flushes and closes; a full disk often shows only here.
  void close();
  // Closes and deletes the file, so that a failed write leaves no torso
  // behind that looks like a saved image. Only regular files are deleted.
  void discard() noexcept;

 private:
  [[noreturn]] void fail(const char* what) const;

  std::string path_;
  std::FILE* file_ = nullptr;
};

}  // namespace klipora::imaging

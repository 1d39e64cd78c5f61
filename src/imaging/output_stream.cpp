#include "imaging/output_stream.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/error.h"

namespace klipora::imaging {
namespace {

std::filesystem::path nativePath(std::string path) {
#ifndef _WIN32
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
#endif
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

}  // namespace

void MemoryStream::write(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  const std::size_t end = position_ + bytes.size();
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + position_, bytes.data(), bytes.size());
  position_ = end;
}

void MemoryStream::seek(std::uint64_t offset) {
  if (offset > bytes_.size()) bytes_.resize(offset);
  position_ = offset;
}

FileStream::FileStream(const std::string& path) : path_(path) {
  const auto native = nativePath(path);
#ifdef _WIN32
  file_ = _wfopen(native.c_str(), L"wb");
#else
  file_ = std::fopen(native.c_str(), "wb");
#endif
  if (!file_) fail("cannot create");
}

FileStream::~FileStream() {
  if (file_) std::fclose(file_);
}

void FileStream::fail(const char* what) const {
  const int error = errno;
  throw Error(path_ + ": " + what + " (" + std::strerror(error) + ")");
}

void FileStream::write(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (!file_) throw Error(path_ + ": file is closed");
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail("cannot write");
}

std::uint64_t FileStream::position() const {
  const auto at = file_ ? std::ftell(file_) : -1L;
  if (at < 0) fail("cannot tell position");
  return static_cast<std::uint64_t>(at);
}

void FileStream::seek(std::uint64_t offset) {
  if (!file_ || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) fail("cannot seek");
}

void FileStream::close() {
  if (!file_) return;
  const bool flushed = std::fflush(file_) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed) errno = flushError;
  if (!flushed || !closed) fail("cannot write");
}

void FileStream::discard() noexcept {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  // Only a regular file: a device or pipe given as the target stays.
  std::error_code ignored;
  const auto native = nativePath(path_);
  if (std::filesystem::is_regular_file(native, ignored)) std::filesystem::remove(native, ignored);
}

}  // namespace klipora::imaging

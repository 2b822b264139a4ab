// The package's view of the disk, seen from outside: every operation passes
// on unchanged, is told to the timeline when a replay asks for it, and each
// request the package places in a manager's "req\" directory is reported.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "sim/ledger.h"

namespace zul00500::sim {

class WatchFs : public platform::FileSystem {
public:
  using Now = std::function<std::int64_t()>;
  // Called with the path of each request placed, and of each taken back.
  using OnRequest = std::function<void(const std::string& path)>;

  WatchFs(platform::FileSystem& inner, Timeline& timeline, Now now, OnRequest onRequest)
      : inner_(inner), timeline_(timeline), now_(std::move(now)), on_request_(std::move(onRequest)) {}

  bool file_exists(const std::string& path) override;
  bool directory_exists(const std::string& path) override;
  bool is_link(const std::string& path) override { return inner_.is_link(path); }
  std::vector<std::string> list(const std::string& pattern) override;
  bool remove_file(const std::string& path) override;
  bool rename_file(const std::string& from, const std::string& to) override;
  std::string read_file(const std::string& path) override;
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override;
  void write_file(const std::string& path, std::string_view bytes) override;
  void append_file(const std::string& path, std::string_view bytes) override;
  void flush_file(const std::string& path) override;
  bool flush_directory(const std::string& path) override;
  void create_directories(const std::string& path) override;
  std::string short_path(const std::string& path) override { return inner_.short_path(path); }
  std::string native_path(const std::string& path) override { return inner_.native_path(path); }
  std::unique_ptr<platform::FileLock> try_lock(const std::string& path) override;

private:
  void Say(const std::string& text) { timeline_.Line(now_(), "pkg", text); }
  // Runs `operation`, telling the timeline how it failed when it throws.
  template <typename Operation> auto Told(const char* verb, const std::string& path, Operation operation) {
    if (!timeline_.On()) return operation();
    try {
      return operation();
    } catch (const std::exception& error) {
      Say(std::string(verb) + " " + path + " -> fails: " + error.what());
      throw;
    } catch (...) {
      Say(std::string(verb) + " " + path + " -> fails (the power is off)");
      throw;
    }
  }

  platform::FileSystem& inner_;
  Timeline& timeline_;
  Now now_;
  OnRequest on_request_;
};

} // namespace zul00500::sim

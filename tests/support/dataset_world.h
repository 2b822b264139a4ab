// A fresh host folder for dataset files, read with the package's home
// regional settings (Brazil: "1,5", dd/mm/yyyy).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/regional.h"
#include "support/temp_world.h"

namespace zul00500::testing {

class DataSetWorld : public ::testing::Test {
protected:
  DataSetWorld() { platform::set_regional(platform::RegionalSettings{}); }
  ~DataSetWorld() override { platform::reset_regional(); }

  // Writes `bytes` as `name` in the host folder; returns its path.
  std::string Put(const std::string& name, const std::string& bytes) {
    const std::string path = world_.host_dir() + "/" + name;
    platform::fs().write_file(path, bytes);
    return path;
  }

  TempWorld world_;
};

} // namespace zul00500::testing

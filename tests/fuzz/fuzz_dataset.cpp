// A dataset file in whatever bytes: told binary or XML by its content, read,
// its change log applied, every value shown as `zulpos dataset` shows it.
// The only way out is a DataSetError naming the file, and reading never
// takes more memory than the file's size warrants.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_world.h"
#include "support/dataset.h"
#include "support/errors.h"

using namespace zul00500;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::MemoryFs& files = fuzzing::FuzzWorld();
  const std::string path = "c:\\pdv\\PARAMETROSQTR.CDS";
  files.Put(path, std::string(reinterpret_cast<const char*>(data), size));
  try {
    DescribeDataSetFile(path);
  } catch (const DataSetError&) {
  }
  // The current record's accessor too, for one input in eight: a second
  // reading of the file would double the cost of every execution.
  if (size % 8 == 0) {
    try {
      ClientDataSet dataset;
      dataset.LoadFromFile(path);
      dataset.FieldAsString("NRSERIEECF");
    } catch (const DataSetError&) {
    }
  }
  files.Clear();
  return 0;
}

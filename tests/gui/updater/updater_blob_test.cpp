#include "updater_blob.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/update/file_version.h"
#include "platform/linux/exclusive_file_writer.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(UpdaterBlob, CarriesTheBuiltUpdaterByteForByte) {
  const std::string built = ReadAll(QUILLET_UPDATER_EXE);
  ASSERT_FALSE(built.empty());
  EXPECT_TRUE(UpdaterBytes() == built);

  // Written out the way the update check does it, it is a program with the
  // build's version.
  test::TempRunDirectory dir;
  ExclusiveFileWriter writer;
  ASSERT_TRUE(writer.WriteNew(dir.PathOf("Update"), UpdaterBytes(), true));
  Text error;
  EXPECT_EQ(FileVersionText(dir, dir.PathOf("Update"), &error, false), QUILLET_PROJECT_VERSION);
  EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace quillet

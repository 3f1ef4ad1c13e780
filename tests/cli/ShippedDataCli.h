// A scratch folder holding the shipped Map.dat and CRT.txt, with milgant-cli run inside it: the
// fixture of the command suites that play on the real map.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "TestFiles.h"

namespace milgant::test {

class ShippedDataCli : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Map.dat", "CRT.txt"}) {
      std::filesystem::copy_file(std::string(MILGANT_DATA_DIR) + "/" + name, dir_.File(name));
    }
  }

  // Runs the command in the scratch folder; returns the exit status and fills `out`.
  int Call(const std::string& args, std::string& out) {
    const std::string o = dir_.File("stdout.txt");
    const std::string command = "cd '" + dir_.Path().string() + "' && '" MILGANT_CLI "' " + args + " >'" + o +
                                "' 2>'" + dir_.File("stderr.txt") + "' </dev/null";
    const int raw = std::system(command.c_str());
    const auto bytes = ReadBytes(o);
    out.assign(bytes.begin(), bytes.end());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  // The command's JSON; a failed command fails the test and gives null.
  nlohmann::json Json(const std::string& args) {
    std::string out;
    const int status = Call(args, out);
    EXPECT_EQ(status, 0) << args;
    return status == 0 ? nlohmann::json::parse(out) : nlohmann::json{};
  }

  TempDir dir_;
};

}  // namespace milgant::test

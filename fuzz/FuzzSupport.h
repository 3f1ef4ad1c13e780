// What the fuzz programs share: a scratch folder in memory for the files the readers open,
// the shipped data files, and a check that stops the run with a message when a property of a
// reader does not hold (libFuzzer then keeps the input as a crash).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace milgant::fuzz {

// A folder of this process (under /dev/shm when there is one), made on first use and removed
// at exit.
const std::string& ScratchDir();
// Writes the bytes to the scratch folder under `name` and returns the path.
std::string WriteScratch(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string ReadWhole(const std::string& path);

// The game's shipped working folder ("Map.dat", "CRT.txt", pictures).
std::string DataFile(const std::string& name);

// Stops the program (abort) with the message when `ok` is false.
void Require(bool ok, const char* what);

}  // namespace milgant::fuzz

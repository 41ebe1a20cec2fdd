// The simulation's save file as the data file of a SaveState in a FileTable: the file the
// window's recordings use, opened, written and closed through the same calls.
#pragma once

#include "simulation/sim_run.h"

namespace kv {
class FileTable;
struct SaveState;

class DataSaveFile final : public SimSaveFile {
 public:
  DataSaveFile(SaveState& save, FileTable& files) : save_(save), files_(files) {}
  bool open(const std::string& path, i32 n, std::string_view kind, std::string& error) override;
  bool write(std::string_view line) override;
  bool keep(std::string* error) override;
  void discard() override;

 private:
  SaveState& save_;
  FileTable& files_;
};

}  // namespace kv

#include "simulation/sim_save_file.h"

#include "datafiles/save_file.h"

namespace kv {

bool DataSaveFile::open(const std::string& path, i32 n, std::string_view kind, std::string& error) {
  return open_save_file(save_, files_, path, n, kind, &error);
}

bool DataSaveFile::write(std::string_view line) {
  return write_data_line(save_, files_, line);
}

bool DataSaveFile::keep(std::string* error) {
  return terminate_file(save_, files_, error);
}

void DataSaveFile::discard() {
  discard_save_file(save_, files_);
}

}  // namespace kv

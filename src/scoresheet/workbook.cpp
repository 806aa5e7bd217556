// The workbook interface on top of our .xlsx layer: one package, its first worksheet seen as a
// Sheet, and saving through a temporary file beside the output.
#include "scoresheet/workbook.h"

#include "records/atomic_file.h"
#include "records/file_read.h"
#include "records/paths.h"
#include "xlsx/package.h"
#include "xlsx/zip_reader.h"

namespace tarvenix {

namespace {

class WorksheetView final : public Sheet {
 public:
  explicit WorksheetView(xlsx::Worksheet& sheet) : sheet_(sheet) {}
  std::optional<std::string_view> read_text(int row, int col) const override {
    return sheet_.text(row, col);
  }
  double read_number(int row, int col) const override { return sheet_.number(row, col); }
  int last_row() const override { return sheet_.last_row(); }
  void write_number(int row, int col, double value) override { sheet_.set_number(row, col, value); }
  void write_text(int row, int col, std::string_view text) override {
    sheet_.set_text(row, col, text);
  }

 private:
  xlsx::Worksheet& sheet_;
};

}  // namespace

struct Workbook::Impl {
  std::unique_ptr<xlsx::Package> package;  // set while a workbook is loaded
  std::unique_ptr<WorksheetView> sheet;
  std::string template_path;
  std::string error;
};

Workbook::Workbook() : impl_(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;

bool Workbook::load(const std::string& path) {
  impl_->sheet.reset();
  impl_->package.reset();
  Result<std::string> file = read_file(path, xlsx::max_archive_size);
  if (!file.ok()) {
    impl_->error = file.code() == ENOENT           ? "file not found"
                   : file.code() == file_too_large ? file.reason()
                                                   : "can't read the file: " + file.reason();
    return false;
  }
  auto package = std::make_unique<xlsx::Package>();
  const Result<> opened = package->open(std::move(file).value());
  if (!opened.ok()) {
    impl_->error = opened.reason();
    return false;
  }
  impl_->package = std::move(package);
  impl_->sheet = std::make_unique<WorksheetView>(impl_->package->sheet());
  impl_->template_path = path;
  impl_->error.clear();
  return true;
}

const std::string& Workbook::error_message() const {
  return impl_->error;
}

Sheet* Workbook::first_sheet() {
  return impl_->sheet.get();
}

bool Workbook::save(const std::string& path) {
  if (!impl_->package) {
    impl_->error = "no workbook loaded";
    return false;
  }
  if (same_file(path, impl_->template_path)) {
    impl_->error = "the template must not be overwritten";
    return false;
  }
  const xlsx::Package& package = *impl_->package;
  const Result<> saved = replace_file(path, [&package](Sink& sink) { return package.save(sink); });
  if (!saved.ok()) impl_->error = saved.reason();
  return saved.ok();
}

}  // namespace tarvenix

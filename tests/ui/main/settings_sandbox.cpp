// The window keeps recent projects in the settings: the tests keep theirs in a scratch
// folder, never in the settings of the person running them.
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TSettingsSandbox final : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(folder_->isValid());
    QStandardPaths::setTestModeEnabled(true);
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
      QSettings::setPath(format, QSettings::UserScope, folder_->path());
  }
  void TearDown() override { folder_.reset(); }

 private:
  std::unique_ptr<QTemporaryDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const sandbox = ::testing::AddGlobalTestEnvironment(new TSettingsSandbox);

}  // namespace

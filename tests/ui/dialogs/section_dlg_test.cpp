#include "ui/dialogs/section_dlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

#include "core/model/node_distribution.h"
#include "core/model/project.h"
#include "tests/ui/scripted_prompts.h"
#include "ui/dialogs/section_picture.h"
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {
namespace {

class SectionDlgTest : public ::testing::Test {
 protected:
  SectionDlgTest() {
    project.InitDefaults();
    ComputeNodes(project.SectionProperties.NbDivisions, project.SectionProperties.Nodes, 0, 10, 3);
  }

  TNumericEdit* Edit(const char* name) {
    auto* edit = dialog().findChild<TNumericEdit*>(QString::fromLatin1(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit;
  }
  QSpinBox* Divisions() { return dialog().findChild<QSpinBox*>(QStringLiteral("EditNombreDiv")); }
  void Click(const char* name) { dialog().findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

  void SetSection(double xu, double xd, int n, double r) {
    Edit("EditX1")->setValue(xu);
    Edit("EditX2")->setValue(xd);
    Divisions()->setValue(n);
    Edit("EditRatio")->setValue(r);
  }

  // The positions listed by "See division locations", read back from the lines.
  std::vector<double> ListedPositions() {
    Click("Button1");
    auto* list = dialog().findChild<QListWidget*>(QStringLiteral("ListBox"));
    std::vector<double> positions;
    for (int i = 0; i < list->count(); ++i) {
      const QString line = list->item(i)->text();
      EXPECT_TRUE(line.startsWith(QStringLiteral("Point #%1 ").arg(i + 1, 2))) << line.toStdString();
      EXPECT_TRUE(line.endsWith(QStringLiteral(" m")));
      positions.push_back(line.mid(10, 12).toDouble());
    }
    return positions;
  }

  TSectionDlg& dialog() {
    if (!dialog_) {
      dialog_ = std::make_unique<TSectionDlg>(project);
      dialog_->setLocale(QLocale::c());  // a point-decimal desktop, whatever this one is
    }
    return *dialog_;
  }

  Project project;
  testing::TScriptedPrompts prompts;
  std::unique_ptr<TSectionDlg> dialog_;
};

void ExpectPositions(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 0.5e-4) << "point " << i + 1;
}

TEST_F(SectionDlgTest, ShowsTheProjectSectionInTheDialogFormats) {
  project.SectionProperties.Xd = 1234.5;
  project.SectionProperties.PlaneStrain = 1;
  TSectionDlg& d = dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Definition of section's divisions and thermal properties"));
  // The designed size, or more where this desktop's fonts need it; never resizable.
  EXPECT_GE(d.width(), 622);
  EXPECT_GE(d.height(), 416);
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  EXPECT_EQ(Edit("EditX1")->text(), QStringLiteral("0.000 m"));
  EXPECT_EQ(Edit("EditX2")->text(), QStringLiteral("1,234.500 m"));
  EXPECT_EQ(Divisions()->value(), 10);
  EXPECT_EQ(Edit("EditRatio")->text(), QStringLiteral("3"));
  EXPECT_EQ(Edit("EditT0")->text(), QString::fromUtf8("0 °C"));
  EXPECT_EQ(Edit("EditDiffusivity")->text(), QString::fromUtf8("0.004 m² / h"));
  EXPECT_EQ(Edit("EditEc")->text(), QStringLiteral("20,000 MPa"));
  EXPECT_EQ(Edit("EditPoisson")->text(), QStringLiteral("0.19"));
  EXPECT_EQ(Edit("EditAlpha")->text(), QString::fromUtf8("0.00001 / °C"));
  auto* group = d.findChild<QGroupBox*>(QStringLiteral("RadioGroupStresses"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral("Stress computations:"));
  EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("RadioPlaneStrain"))->isChecked());
  EXPECT_EQ(d.findChild<QListWidget*>(QStringLiteral("ListBox"))->count(), 0);
}

TEST_F(SectionDlgTest, EditBoxesHoldTheirRanges) {
  SetSection(0, 10, 99, 5000);
  EXPECT_EQ(Divisions()->value(), 50);
  EXPECT_EQ(Edit("EditRatio")->value(), 1000.0);
  Divisions()->setValue(1);
  Edit("EditRatio")->setValue(0.2);
  Edit("EditPoisson")->setValue(0.7);
  EXPECT_EQ(Divisions()->value(), 5);
  EXPECT_EQ(Edit("EditRatio")->value(), 1.0);
  EXPECT_EQ(Edit("EditPoisson")->value(), 0.5);
  Edit("EditPoisson")->setValue(-1);
  EXPECT_EQ(Edit("EditPoisson")->value(), 0.0);
}

TEST_F(SectionDlgTest, DivisionLocationsOfTheWorkedExamples) {
  SetSection(0, 10, 10, 3);
  ExpectPositions(ListedPositions(), {0, 0.5, 1.25, 2.25, 3.5, 5, 6.5, 7.75, 8.75, 9.5, 10});
  auto* list = dialog().findChild<QListWidget*>(QStringLiteral("ListBox"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("Point # 2       0.5000 m"));
  EXPECT_EQ(list->item(10)->text(), QStringLiteral("Point #11      10.0000 m"));

  SetSection(0, 10, 5, 3);
  ExpectPositions(ListedPositions(), {0, 1.1111, 3.3333, 6.6667, 8.8889, 10});

  SetSection(0, 10, 6, 2);
  ExpectPositions(ListedPositions(), {0, 1.1111, 2.7778, 5, 7.2222, 8.8889, 10});

  SetSection(0, 10, 11, 1);
  const std::vector<double> equal = ListedPositions();
  ASSERT_EQ(equal.size(), 12u);
  for (size_t i = 1; i < equal.size(); ++i) EXPECT_NEAR(equal[i] - equal[i - 1], 0.9091, 1e-4);

  // Listing changes nothing in the project.
  EXPECT_EQ(project.SectionProperties.NbDivisions, 10);
  EXPECT_EQ(project.SectionProperties.Nodes.NrOfElem(), 11);
  EXPECT_EQ(project.ProjectFlags, 0);
}

TEST_F(SectionDlgTest, FacesInTheWrongOrderListTheProjectNodes) {
  // After a direct analysis the node vector also holds thermometer positions; they are no
  // division points and stay out of the list.
  project.SectionProperties.Nodes.Resize(13);
  project.SectionProperties.Nodes.SetElement(12, 4.2);
  project.SectionProperties.Nodes.SetElement(13, 7.7);
  SetSection(10, 0, 6, 2);
  ExpectPositions(ListedPositions(), {0, 0.5, 1.25, 2.25, 3.5, 5, 6.5, 7.75, 8.75, 9.5, 10});
  SetSection(5, 5, 6, 2);
  EXPECT_EQ(ListedPositions().size(), 11u);
}

TEST_F(SectionDlgTest, OkWritesTheSectionAndItsNodes) {
  project.ProjectFlags = pfDirectResults | pfInverseResults | pfUpstream;
  SetSection(-2, 10, 6, 2);
  Edit("EditT0")->setValue(4.5);
  Edit("EditDiffusivity")->setValue(0.0035);
  Edit("EditEc")->setValue(25000);
  Edit("EditPoisson")->setValue(0.2);
  Edit("EditAlpha")->setValue(0.000012);
  dialog().findChild<QRadioButton*>(QStringLiteral("RadioPlaneStrain"))->setChecked(true);
  Click("OKBtn");

  EXPECT_EQ(dialog().result(), QDialog::Accepted);
  EXPECT_TRUE(prompts.shown.empty());
  const TSectionProperties& s = project.SectionProperties;
  EXPECT_EQ(s.Xu, -2.0);
  EXPECT_EQ(s.Xd, 10.0);
  EXPECT_EQ(s.NbDivisions, 6);
  EXPECT_EQ(s.Ratio, 2.0);
  EXPECT_EQ(s.T0, 4.5);
  EXPECT_EQ(s.Diffusivity, 0.0035);
  EXPECT_EQ(s.Ec, 25000.0);
  EXPECT_EQ(s.Poisson, 0.2);
  EXPECT_EQ(s.Alpha, 0.000012);
  EXPECT_EQ(s.PlaneStrain, 1);
  ASSERT_EQ(s.Nodes.NrOfElem(), 7);
  EXPECT_EQ(s.Nodes.Element(1), -2.0);
  EXPECT_NEAR(s.Nodes.Element(4), 4.0, 1e-12);
  EXPECT_EQ(s.Nodes.Element(7), 10.0);
  // The caller marks the project modified; the dialog sets the section and drops results.
  EXPECT_EQ(project.ProjectFlags, pfSection | pfUpstream);
}

TEST_F(SectionDlgTest, AStoredStressChoiceOutsideTheTwoItemsIsKept) {
  project.SectionProperties.PlaneStrain = 2;
  EXPECT_FALSE(dialog().findChild<QRadioButton*>(QStringLiteral("RadioPlaneStress"))->isChecked());
  EXPECT_FALSE(dialog().findChild<QRadioButton*>(QStringLiteral("RadioPlaneStrain"))->isChecked());
  Click("OKBtn");
  EXPECT_EQ(project.SectionProperties.PlaneStrain, 2);
}

struct RefusalCase {
  double xu, xd, diffusivity, ec, poisson;
  const char* stress;  // the radio button checked
  const char* typed;   // typed into Poisson's ratio over the value above, or nullptr
  const char* culprit;
  const char* why;     // the second line of the warning
};

TEST_F(SectionDlgTest, RefusedValuesNameTheFieldFocusItAndKeepTheDialogAndTheProject) {
  project.ProjectFlags = pfDirectResults;
  const TVector nodesBefore = project.SectionProperties.Nodes;
  const char* xd = "X coordinate of downstream face (Xd): must be greater than Xu.";
  const char* positiveDiffusivity = "Diffusivity constant: must be greater than 0.";
  const char* positiveModulus = "Young's modulus: must be greater than 0.";
  const RefusalCase cases[] = {
      {10, 0, 0.004, 20000, 0.19, "RadioPlaneStress", nullptr, "EditX2", xd},
      {5, 5, 0.004, 20000, 0.19, "RadioPlaneStress", nullptr, "EditX2", xd},
      {0, 10, 0.0, 20000, 0.19, "RadioPlaneStress", nullptr, "EditDiffusivity", positiveDiffusivity},
      {0, 10, -0.004, 20000, 0.19, "RadioPlaneStress", nullptr, "EditDiffusivity", positiveDiffusivity},
      {0, 10, 0.004, 0, 0.19, "RadioPlaneStress", nullptr, "EditEc", positiveModulus},
      {0, 10, 0.004, -25000, 0.19, "RadioPlaneStress", nullptr, "EditEc", positiveModulus},
      {0, 10, 0.004, 20000, 0.5, "RadioPlaneStrain", nullptr, "EditPoisson",
       "Poisson's ratio: must be less than 0.5 for plane strain."},
      // A decimal comma on a point-decimal desktop: refused by the edit, and OK holds.
      {0, 10, 0.004, 20000, 0.19, "RadioPlaneStress", "0,2", "EditPoisson",
       "Poisson's ratio: \"0,2\" is not a number; write numbers like 1,234.5."},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.why);
    prompts.shown.clear();
    dialog_.reset();
    dialog().show();
    SetSection(c.xu, c.xd, 6, 2);
    Edit("EditDiffusivity")->setValue(c.diffusivity);
    Edit("EditEc")->setValue(c.ec);
    Edit("EditPoisson")->setValue(c.poisson);
    Edit("EditT0")->setValue(9);
    dialog().findChild<QRadioButton*>(QString::fromLatin1(c.stress))->setChecked(true);
    if (c.typed) {
      Edit("EditPoisson")->selectAll();
      Edit("EditPoisson")->insert(QString::fromLatin1(c.typed));
    }
    Click("OKBtn");

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Incorrect values. Please apply the correction\n") + QString::fromUtf8(c.why));
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
    EXPECT_EQ(dialog().focusWidget(), Edit(c.culprit));
    EXPECT_NE(dialog().result(), QDialog::Accepted);
    EXPECT_TRUE(dialog().isVisible());

    EXPECT_EQ(project.ProjectFlags, pfDirectResults);
    EXPECT_EQ(project.SectionProperties.Xu, 0.0);
    EXPECT_EQ(project.SectionProperties.NbDivisions, 10);
    EXPECT_EQ(project.SectionProperties.T0, 0.0);
    EXPECT_EQ(project.SectionProperties.Diffusivity, 0.004);
    EXPECT_EQ(project.SectionProperties.Ec, 20000.0);
    EXPECT_EQ(project.SectionProperties.Poisson, 0.19);
    ASSERT_EQ(project.SectionProperties.Nodes.NrOfElem(), nodesBefore.NrOfElem());
    for (int i = 1; i <= nodesBefore.NrOfElem(); ++i)
      EXPECT_EQ(project.SectionProperties.Nodes.Element(i), nodesBefore.Element(i));
  }

  // Plane stress takes the incompressible limit.
  prompts.shown.clear();
  Edit("EditPoisson")->setValue(0.5);
  dialog().findChild<QRadioButton*>(QStringLiteral("RadioPlaneStress"))->setChecked(true);
  Click("OKBtn");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(dialog().result(), QDialog::Accepted);
  EXPECT_EQ(project.SectionProperties.Poisson, 0.5);
}

TEST_F(SectionDlgTest, CancelAfterListingLeavesTheProjectAsItWas) {
  project.ProjectFlags = pfSection | pfDirectResults;
  SetSection(1, 20, 5, 7);
  Edit("EditDiffusivity")->setValue(0.01);
  ListedPositions();
  Click("CancelBtn");
  EXPECT_EQ(dialog().result(), QDialog::Rejected);
  EXPECT_EQ(project.ProjectFlags, pfSection | pfDirectResults);
  EXPECT_EQ(project.SectionProperties.Xu, 0.0);
  EXPECT_EQ(project.SectionProperties.Diffusivity, 0.004);
  ASSERT_EQ(project.SectionProperties.Nodes.NrOfElem(), 11);
  EXPECT_EQ(project.SectionProperties.Nodes.Element(2), 0.5);
}

TEST_F(SectionDlgTest, PictureFollowsTheDivisionsAndRatio) {
  auto* picture = dialog().findChild<TSectionPicture*>();
  ASSERT_NE(picture, nullptr);
  SetSection(0, 10, 6, 2);
  const std::vector<double>& f = picture->Fractions();
  ASSERT_EQ(f.size(), 7u);
  // Middle spacing twice the first.
  EXPECT_NEAR((f[4] - f[3]) / (f[1] - f[0]), 2.0, 1e-12);
}

}  // namespace
}  // namespace kolma::ui

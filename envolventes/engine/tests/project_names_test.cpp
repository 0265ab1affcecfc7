// Which names belong to a project of the directory, so that no envelope takes them.
#include <gtest/gtest.h>
#include <unistd.h>

#include "envolventes/engine/project_names.h"
#include "common/testing/test_support.h"

using namespace envelope;
using testsupport::ScratchDir;

TEST(ProjectNames, AnyOneFileOfAProjectMarksItsName_TheEnvelopesOwnFilesDoNot) {
  const struct {
    const char* file;
    const char* content;
    bool project;
  } cases[] = {
      {"model.dat", "VIGA 0  0\n 2  3  2  0  1  1  0  0  0  0.0\n", true},
      {"word.dat", "VIGA\n", true},
      {"diagram.fmc", "", true},
      {"loads.caf", "", true},
      {"results.res", "   VIGA2   1    0 \n 1       0.000000       \n", true},
      {"list.dat", " 2\na\nb\n", false},
      {"empty.dat", "", false},
      {"report.res", " NODO  Flechas[mm]:  M\xE1xima  M\xEDnima\n 1   0.0  0.0   \n", false},
      {"table.esf", "40\n", false},
  };
  ScratchDir dir;
  for (const auto& c : cases) dir.write(c.file, c.content);
  for (const auto& c : cases) {
    std::string name = c.file;
    name = dir.file(name.substr(0, name.find('.')));
    EXPECT_EQ(isProjectName(name), c.project) << c.file;
    EXPECT_EQ(checkEnvelopeName(name) == EnvelopeNameCheck::ProjectName, c.project) << c.file;
  }
  EXPECT_FALSE(isProjectName(dir.file("absent")));
  EXPECT_EQ(checkEnvelopeName(""), EnvelopeNameCheck::Empty);
  EXPECT_EQ(checkEnvelopeName(dir.file("absent"), {dir.file("absent")}), EnvelopeNameCheck::ProjectName);
  // Another name for a project's force table or report is that project's.
  ASSERT_EQ(symlink(dir.file("table.esf").c_str(), dir.file("alias.esf").c_str()), 0);
  ASSERT_EQ(link(dir.file("report.res").c_str(), dir.file("twin.res").c_str()), 0);
  dir.write("other.res", "");
  const std::vector<std::string> projects = {dir.file("list"), dir.file("table"), dir.file("report")};
  for (const char* envelope : {"alias", "twin"})
    EXPECT_EQ(checkEnvelopeName(dir.file(envelope), projects), EnvelopeNameCheck::ProjectName) << envelope;
  EXPECT_EQ(checkEnvelopeName(dir.file("other"), projects), EnvelopeNameCheck::Usable);
  EXPECT_EQ(checkEnvelopeName(dir.file("alias"), {dir.file("list")}), EnvelopeNameCheck::Usable);
}

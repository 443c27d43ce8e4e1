#include "driver/age_classes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "text_helpers.h"

namespace kvr {
namespace {

using test::count_of;
using Classes = std::vector<std::pair<int, int>>;

struct Outcome {
  Answer answer = Answer::kOk;
  AgeClassTable table;
  RunTitle title;
  std::string screen;
};

AgeDomain age_domain(int longest) {
  AgeDomain d;
  d.age_aligned = true;
  d.longest_length = longest;
  d.time_span = longest + 7;  // must not be used when age aligned
  d.earliest_first_year = 1700;
  d.latest_last_year = 1700 + longest + 6;
  return d;
}

AgeDomain calendar_domain(int first_year, int last_year) {
  AgeDomain d;
  d.age_aligned = false;
  d.longest_length = 3;  // must not be used when calendar aligned
  d.time_span = last_year - first_year + 1;
  d.earliest_first_year = first_year;
  d.latest_last_year = last_year;
  return d;
}

Outcome run_dialogue(const AgeDomain& domain, const std::string& answers) {
  std::istringstream in(answers);
  std::ostringstream out;
  Console console(in, out);
  Outcome o;
  o.title.age_aligned = domain.age_aligned;
  o.answer = age_class_dialogue(console, domain, &o.table, &o.title);
  o.screen = out.str();
  return o;
}

Classes classes_of(const AgeClassTable& table) {
  Classes c;
  for (const AgeClass& a : table.classes) c.emplace_back(a.start, a.end);
  return c;
}

Classes uniform(int first, int last, int size) {
  Classes c;
  for (int s = first; s <= last; s += size) c.emplace_back(s, s + size - 1);
  return c;
}

// The explanation of the two options and the option prompt, which end every introduction.
const std::string kOptions =
    "\n"
    " There are 2 options for defining Age Classes and determining which  \n"
    " to use for the Reference Age Class (RAC)\n"
    "\n"
    " The FIRST is to enter a fixed Age Class size (x) and allow the program  \n"
    " to create (n) number of contiguous Age Classes of size(x) sequentially \n"
    " across the entire time/age domain of your data.\n"
    "\n"
    " The SECOND is to explicitly define the RACs time/age span by entering \n"
    " its start(x1) and end(x2) years/ages and allow the program to compute \n"
    " the class size n=(x2-x1)+1 and divide the entire time domain into as many \n"
    " contiguous Age Classes of size n as it can with the understanding that \n"
    " the first and last Age Classes may not be the same size.\n"
    "\n"
    " Select Age Class option: \n"
    " Option [1] Use fixed Age Class Size\n"
    " Option [2] Provide RAC start and end values (compute size) \n"
    "  Enter 1 or 2 (no default) :> ";

// The lines every attempt starts with, up to the option prompt (age aligned, L = 100).
const std::string kAgeIntroduction100 =
    "\n"
    " Define the size and number of Age Classes to analyze.............\n"
    "\n"
    " Maximum series age is  100\n"
    " Maximum number of permitted Age Classes is : 250\n" +
    kOptions;

TEST(AgeClassDialogueTest, FixedSizeCalendarTranscript) {
  // Calendar 1801-1895: ten classes of 10, the last (1891-1900) overruns and is not shown.
  const Outcome o = run_dialogue(calendar_domain(1801, 1895), "1\n10\n3\n");
  const std::string expected =
      "\n"
      " Define the size and number of Age Classes to analyze.............\n"
      "\n"
      " Maximum chronology length is   95\n"
      " Start Year :  1801\n"
      " End Year   :  1895\n"
      " Maximum number of permitted Age Classes is : 250\n" +
      kOptions +
      "\n"
      " Enter Reference Age Class (RAC) size :> \n"
      " AgeClass  Strt.Yr  End.Yr   Strt.pos.  End.pos\n"
      " [  1]        1801     1810         1      10\n"
      " [  2]        1811     1820        11      20\n"
      " [  3]        1821     1830        21      30\n"
      " [  4]        1831     1840        31      40\n"
      " [  5]        1841     1850        41      50\n"
      " [  6]        1851     1860        51      60\n"
      " [  7]        1861     1870        61      70\n"
      " [  8]        1871     1880        71      80\n"
      " [  9]        1881     1890        81      90\n"
      "\n"
      " Select the age class to use as your Reference Age Class (RAC)\n"
      "\n"
      " (Note: Must be a value between 1 and   9) :> ";
  EXPECT_EQ(o.screen, expected);
  EXPECT_EQ(o.answer, Answer::kOk);
  EXPECT_EQ(classes_of(o.table), uniform(1, 91, 10));
  EXPECT_EQ(o.table.rac_index, 3);
  EXPECT_EQ(o.table.rac_start, 21);
  EXPECT_EQ(o.table.rac_end, 30);
  EXPECT_EQ(o.table.class_size, 10);
  // Characters 16 and 33 blank; the RAC bounds are positions.
  EXPECT_EQ(run_title_text(o.title),
            "Calendar Dates  Class_size=  10  RAC=    21 -    30         ");
}

// Age-aligned attempts of both options: the screen after the introduction, and the title.
TEST(AgeClassDialogueTest, AgeTranscripts) {
  struct Case {
    const char* answers;
    std::string after_introduction;
    const char* title;
  };
  const Case cases[] = {
      {"2\n25\n34\n",
       "\n"
       " Enter Reference Age Class (RAC) Start Age :> "
       " Enter Reference Age Class (RAC) End Age   :> ",
       "Age Aligned    ClassSize=  10  RAC=    25 -    34           "},
      {"1\n25\n2\n",
       "\n"
       " Enter Reference Age Class (RAC) size :> \n"
       " AgeClass    Start    Stop   \n"
       " [  1]           1       25\n"
       " [  2]          26       50\n"
       " [  3]          51       75\n"
       " [  4]          76      100\n"
       "\n"
       " Select the age class to use as your Reference Age Class (RAC)\n"
       "\n"
       " (Note: Must be a value between 1 and   4) :> ",
       "Age Aligned     Class_size=  25  RAC=    26 -    50         "},
  };
  for (const Case& c : cases) {
    const Outcome o = run_dialogue(age_domain(100), c.answers);
    EXPECT_EQ(o.screen, kAgeIntroduction100 + c.after_introduction) << c.answers;
    EXPECT_EQ(o.answer, Answer::kOk) << c.answers;
    EXPECT_EQ(run_title_text(o.title), c.title) << c.answers;
  }
}

TEST(AgeClassDialogueTest, Layouts) {
  struct Case {
    const char* name;
    AgeDomain domain;
    const char* answers;
    Classes classes;
    int rac_index;
    int rac_start;
    int rac_end;
    int class_size;
    const char* label;  // run-title characters 16-60, trailing blanks left out
  };
  // Classes of the RAC's size on both sides of it, the first and the last one shorter.
  const Classes short_ends = {{1, 4},   {5, 14},  {15, 24}, {25, 34}, {35, 44}, {45, 54},
                              {55, 64}, {65, 74}, {75, 84}, {85, 94}, {95, 100}};
  const Classes calendar_years = {{1, 10}, {11, 30}, {31, 50}, {51, 70}, {71, 90}, {91, 100}};
  const Case cases[] = {
      {"fixed, last class overruns", age_domain(95), "1\n10\n9\n", uniform(1, 91, 10), 9, 81, 90,
       10, " Class_size=  10  RAC=    81 -    90"},
      {"fixed, overrunning class chosen", age_domain(95), "1\n10\n10\n", uniform(1, 91, 10), 10, 91,
       100, 10, " Class_size=  10  RAC=    91 -   100"},
      {"fixed, exact fit", age_domain(100), "1\n10\n10\n", uniform(1, 91, 10), 10, 91, 100, 10,
       " Class_size=  10  RAC=    91 -   100"},
      {"fixed, n beyond the domain", age_domain(95), "1\n120\n1\n", uniform(1, 1, 120), 1, 1, 120,
       120, " Class_size= 120  RAC=     1 -   120"},
      {"fixed, calendar", calendar_domain(1801, 1895), "1\n10\n2\n", uniform(1, 91, 10), 2, 11, 20,
       10, " Class_size=  10  RAC=    11 -    20"},
      {"fixed, 250 classes", age_domain(250), "1\n1\n250\n", uniform(1, 250, 1), 250, 250, 250, 1,
       " Class_size=   1  RAC=   250 -   250"},
      {"bounds, 21-30", age_domain(100), "2\n21\n30\n", uniform(1, 91, 10), 3, 21, 30, 10,
       "ClassSize=  10  RAC=    21 -    30"},
      {"bounds, 25-34, short ends", age_domain(100), "2\n25\n34\n", short_ends, 4, 25, 34, 10,
       "ClassSize=  10  RAC=    25 -    34"},
      {"bounds, RAC first", age_domain(100), "2\n1\n10\n", uniform(1, 91, 10), 1, 1, 10, 10,
       "ClassSize=  10  RAC=     1 -    10"},
      {"bounds, RAC last", age_domain(100), "2\n91\n100\n", uniform(1, 91, 10), 10, 91, 100, 10,
       "ClassSize=  10  RAC=    91 -   100"},
      {"bounds, x2 beyond the domain", age_domain(100), "2\n91\n120\n", uniform(1, 91, 30), 4, 91,
       120, 30, "ClassSize=  30  RAC=    91 -   120"},
      {"bounds, calendar years", calendar_domain(1801, 1900), "2\n1851\n1870\n", calendar_years, 4,
       51, 70, 20, "ClassSize=  20  RAC=  1851 -  1870"},
      {"bounds, calendar, BC years", calendar_domain(-120, -21), "2\n-100\n-91\n",
       uniform(1, 91, 10), 3, 21, 30, 10, "ClassSize=  10  RAC=  -100 -   -91"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome o = run_dialogue(c.domain, c.answers);
    ASSERT_EQ(o.answer, Answer::kOk);
    EXPECT_EQ(classes_of(o.table), c.classes);
    EXPECT_EQ(o.table.rac_index, c.rac_index);
    EXPECT_EQ(o.table.rac_start, c.rac_start);
    EXPECT_EQ(o.table.rac_end, c.rac_end);
    EXPECT_EQ(o.table.class_size, c.class_size);
    std::string label = c.label;
    label.resize(45, ' ');
    EXPECT_EQ(run_title_text(o.title).substr(15), label);
    EXPECT_EQ(run_title_text(o.title).size(), 60u);
  }
}

TEST(AgeClassDialogueTest, FixedSizeNoteBound) {
  // The note offers only complete classes; a class beyond the domain is still stored.
  EXPECT_NE(run_dialogue(age_domain(95), "1\n10\n1\n")
                .screen.find(" (Note: Must be a value between 1 and   9) :> "),
            std::string::npos);
  const Outcome beyond = run_dialogue(age_domain(95), "1\n120\n1\n");
  EXPECT_NE(beyond.screen.find(" AgeClass    Start    Stop   \n"
                               "\n"
                               " Select the age class to use as your Reference Age Class (RAC)\n"
                               "\n"
                               " (Note: Must be a value between 1 and   0) :> "),
            std::string::npos);
}

TEST(AgeClassDialogueTest, TooManyFixedClassesPausesAndStartsAgain) {
  // 300 classes of 1: all 300 rows, the report, the pause (an empty line), a new attempt.
  const Outcome o = run_dialogue(age_domain(300), "1\n1\n\n1\n100\n2\n");
  ASSERT_EQ(o.answer, Answer::kOk);
  EXPECT_NE(o.screen.find(" [300]         300      300\n"
                          "\n"
                          " **** Too many Ages classes ****\n"
                          " **** Max =  250 Your Age Class Size produces :   300 ****\n"
                          " **** Hit RETURN to Try again or CTRL C to quite ? ****\n"
                          "\n"
                          " Define the size and number of Age Classes to analyze"),
            std::string::npos);
  EXPECT_EQ(count_of(o.screen, " Define the size"), 2);
  EXPECT_EQ(count_of(o.screen, "]       "), 300 + 3);
  EXPECT_EQ(classes_of(o.table), uniform(1, 201, 100));
  EXPECT_EQ(o.table.rac_index, 2);
  EXPECT_EQ(run_title_text(o.title).substr(15, 18), " Class_size= 100  ");
}

TEST(AgeClassDialogueTest, RejectedEntriesStartANewAttempt) {
  struct Case {
    const char* name;
    AgeDomain domain;
    const char* rejected;  // the answers of the rejected attempt
    const char* message;   // empty: no message
  };
  const char kInvalid[] = " Invalid entries. Try Again or quit";
  const char kTooMany[] = " Too many age classes. Try Again or quit";
  const Case cases[] = {
      {"option 0", age_domain(100), "0\n", ""},
      {"option 3", age_domain(100), "3\n", ""},
      {"size 0", age_domain(100), "1\n0\n", kInvalid},
      {"size negative", age_domain(100), "1\n-4\n", kInvalid},
      {"age x1 negative", age_domain(100), "2\n-1\n10\n", kInvalid},
      {"age x1 zero", age_domain(100), "2\n0\n9\n", kInvalid},
      {"age x1 beyond the longest series", age_domain(100), "2\n101\n110\n", kInvalid},
      {"age x2 below x1", age_domain(100), "2\n30\n29\n", kInvalid},
      {"age x2 equal to x1", age_domain(100), "2\n30\n30\n", kInvalid},
      {"calendar x1 before the first year", calendar_domain(1801, 1900), "2\n1800\n1810\n",
       kInvalid},
      {"calendar x1 after the last year", calendar_domain(1801, 1900), "2\n1901\n1910\n", kInvalid},
      {"calendar x2 before the first year", calendar_domain(1801, 1900), "2\n1801\n1700\n",
       kInvalid},
      {"calendar x2 below x1", calendar_domain(1801, 1900), "2\n1850\n1849\n", kInvalid},
      {"calendar x2 equal to x1", calendar_domain(1801, 1900), "2\n1850\n1850\n", kInvalid},
      {"calendar size out of range", calendar_domain(-300, 1900), "2\n-300\n2147483647\n",
       kInvalid},
      // 1000 / 4 + 1 = 251 estimated classes.
      {"estimate 251", age_domain(1000), "2\n1\n5\n", kTooMany},
      {"estimate before bounds", age_domain(1000), "2\n1\n1\n", kInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A valid second attempt follows every rejected one.
    const std::string second = c.domain.age_aligned ? "2\n21\n30\n" : "2\n1851\n1860\n";
    const Outcome o = run_dialogue(c.domain, std::string(c.rejected) + second);
    ASSERT_EQ(o.answer, Answer::kOk);
    EXPECT_EQ(count_of(o.screen, " Define the size"), 2);
    const std::string restart = "\n Define the size";
    const std::size_t second_attempt = o.screen.find(restart, 1);
    ASSERT_NE(second_attempt, std::string::npos);
    const std::string first_attempt = o.screen.substr(0, second_attempt);
    const std::string ending =
        *c.message == '\0' ? std::string(":> ") : ":> \n" + std::string(c.message) + "\n";
    ASSERT_GE(first_attempt.size(), ending.size());
    EXPECT_EQ(first_attempt.substr(first_attempt.size() - ending.size()), ending);
    EXPECT_EQ(o.table.class_size, 10);
  }
}

TEST(AgeClassDialogueTest, EstimateAtTheLimitIsAccepted) {
  // 996 / 4 + 1 = 250.
  const Outcome o = run_dialogue(age_domain(996), "2\n1\n5\n");
  ASSERT_EQ(o.answer, Answer::kOk);
  EXPECT_EQ(count_of(o.screen, " Define the size"), 1);
  EXPECT_EQ(o.table.count(), 200);
}

TEST(AgeClassDialogueTest, RacIndexNamingNoClassIsAskedAgain) {
  const Outcome o = run_dialogue(age_domain(100), "1\n10\n0\n11\n-2\n4\n");
  ASSERT_EQ(o.answer, Answer::kOk);
  const std::string note = " (Note: Must be a value between 1 and  10) :> ";
  EXPECT_EQ(o.screen.substr(o.screen.size() - 4 * note.size()), note + note + note + note);
  EXPECT_EQ(o.table.rac_index, 4);
  EXPECT_EQ(o.table.rac_start, 31);
}

TEST(AgeClassDialogueTest, ConsoleFailureEndsTheDialogue) {
  const struct {
    const char* answers;
    Answer expected;
  } cases[] = {
      {"", Answer::kEndOfInput},         {"x\n", Answer::kInvalid},
      {"1\n", Answer::kEndOfInput},      {"1\nten\n", Answer::kInvalid},
      {"1\n10\n", Answer::kEndOfInput},  {"1\n10\n0\n", Answer::kEndOfInput},
      {"1\n1\n", Answer::kEndOfInput},   {"2\n21\n", Answer::kEndOfInput},
      {"2\n21\n3O\n", Answer::kInvalid}, {"5\n", Answer::kEndOfInput},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers);
    EXPECT_EQ(run_dialogue(age_domain(300), c.answers).answer, c.expected);
  }
}

// Every accepted option-2 layout covers 1..max(L, x2) contiguously with classes of size n, the
// first and the last cut short, and the RAC exactly (x1, x2).
TEST(AgeClassDialogueTest, BoundsLayoutInvariants) {
  for (const int length : {1, 2, 3, 7, 20, 61}) {
    for (int x1 = 1; x1 <= length; ++x1) {
      for (int x2 = x1 + 1; x2 <= length + 3; ++x2) {
        SCOPED_TRACE(std::to_string(length) + ": " + std::to_string(x1) + "-" + std::to_string(x2));
        const Outcome o = run_dialogue(
            age_domain(length), "2\n" + std::to_string(x1) + "\n" + std::to_string(x2) + "\n");
        ASSERT_EQ(o.answer, Answer::kOk);
        const AgeClassTable& t = o.table;
        const int n = x2 - x1 + 1;
        ASSERT_EQ(t.class_size, n);
        ASSERT_GE(t.count(), 1);
        ASSERT_LE(t.count(), 250);
        EXPECT_EQ(t.at(1).start, 1);
        EXPECT_EQ(t.at(t.count()).end, std::max(length, x2));
        EXPECT_EQ(t.at(t.rac_index).start, x1);
        EXPECT_EQ(t.at(t.rac_index).end, x2);
        for (int k = 1; k <= t.count(); ++k) {
          const int size = t.at(k).end - t.at(k).start + 1;
          if (k > 1) {
            EXPECT_EQ(t.at(k).start, t.at(k - 1).end + 1);
          }
          if (k == 1 || k == t.count()) {
            EXPECT_GE(size, 1);
            EXPECT_LE(size, n);
          } else {
            EXPECT_EQ(size, n);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kvr

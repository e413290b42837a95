/* A small check runner for the C programs that test the exported functions:
 * each check counts as passed or failed, failures are printed with their
 * line, and the summary line is "N passed, N failed". */
#ifndef QVFLASH_TEST_CCHECK_H
#define QVFLASH_TEST_CCHECK_H

#include <qvflash.h>

#include <stdint.h>

void checkTrue(int ok, const char* what, const char* file, int line);
/* On a mismatch the conditions of the last status are printed too. */
void checkStatus(qvflash_StatusCode got, qvflash_StatusCode expected, const char* what, const char* file, int line);
/* The last status carries exactly one condition, of this code, with this
 * integer detail. */
void checkIntCondition(qvflash_ConditionCode code, int64_t value, const char* file, int line);
/* The last status carries exactly one condition, of this code, with this
 * text detail. */
void checkTextCondition(qvflash_ConditionCode code, const char* text, const char* file, int line);
void checkNoConditions(const char* file, int line);
/* Whether the last status has a condition of this code with an integer
 * detail; its value goes to *value. */
int lastIntCondition(qvflash_ConditionCode code, int64_t* value);
/* Prints the summary line; the exit status of the program. */
int checkSummary(void);

#define CHECK(condition) checkTrue((condition) != 0, #condition, __FILE__, __LINE__)
#define CHECK_STATUS(call, expected) checkStatus((call), (expected), #call, __FILE__, __LINE__)
#define CHECK_INT_CONDITION(code, value) checkIntCondition((code), (value), __FILE__, __LINE__)
#define CHECK_TEXT_CONDITION(code, text) checkTextCondition((code), (text), __FILE__, __LINE__)
#define CHECK_NO_CONDITIONS() checkNoConditions(__FILE__, __LINE__)

#endif

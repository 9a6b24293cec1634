#pragma once
// VERIFIER(a, b, c) checks a, then b, then c, stopping at the first that fails,
// so that a failure names the condition that broke (up to eight).
#include <QtTest>
#define VERIFIER_1(a) QVERIFY(a);
#define VERIFIER_2(a, ...) QVERIFY(a); VERIFIER_1(__VA_ARGS__)
#define VERIFIER_3(a, ...) QVERIFY(a); VERIFIER_2(__VA_ARGS__)
#define VERIFIER_4(a, ...) QVERIFY(a); VERIFIER_3(__VA_ARGS__)
#define VERIFIER_5(a, ...) QVERIFY(a); VERIFIER_4(__VA_ARGS__)
#define VERIFIER_6(a, ...) QVERIFY(a); VERIFIER_5(__VA_ARGS__)
#define VERIFIER_7(a, ...) QVERIFY(a); VERIFIER_6(__VA_ARGS__)
#define VERIFIER_8(a, ...) QVERIFY(a); VERIFIER_7(__VA_ARGS__)
#define VERIFIER_N(_1, _2, _3, _4, _5, _6, _7, _8, N, ...) N
#define VERIFIER(...) do { VERIFIER_N(__VA_ARGS__, VERIFIER_8, VERIFIER_7, VERIFIER_6, VERIFIER_5, VERIFIER_4, VERIFIER_3, VERIFIER_2, VERIFIER_1)(__VA_ARGS__) } while (0)

#pragma once
// A large pharmacy for benchmarks: 100,000 products (two of them syringes, a tenth
// imported), 50,000 patients with registration numbers and a year of history (300,000
// sale lines, 20,000 prescriptions of SSK and ES with their patient types and shares,
// 12,000 of them SSK with their SSK and line rows, 5,000 purchases, 200,000 product
// movements, twenty busy products with thousands more over fourteen months, 20,000 account
// movements of every kind, discounts and private invoices, and an institution "SSKF" with
// 6,000 SSK prescriptions of November 2026 to invoice and eleven invoiced months of
// 1,000; product 50 with ten years of movements, some 60,000, from every source, and
// product 51 with ten; 20,000 exchanges with sixty pharmacies). Built once and kept in build/bench-data.
#include "data/alias.h"

#include <QString>
#include <vector>

namespace selvar::bench {

struct LargeSizes {
    int products = 100000;
    int saleLines = 300000;
    int prescriptions = 20000;
    int purchases = 5000;
    int movements = 200000;
};

// Path of the generated database; generated when missing.
QString largeDatabase(const LargeSizes& sizes = {});

// The engine a benchmark runs on, from its first argument: "sqlite" (default) or
// "postgresql" (the server database of SELVAR_BENCH_PG, which ./selvar bench starts).
QString engineArgument(int argc, char** argv);

// The large pharmacy on that engine. On PostgreSQL the SQLite file is copied into the
// server database once and kept there.
AliasConfig largeDatabaseOn(const QString& engine, const LargeSizes& sizes = {});

// The large pharmacy on that engine for a benchmark that writes: on SQLite a fresh copy
// of the file named with `suffix`; on PostgreSQL the server database itself.
AliasConfig writableLargeDatabaseOn(const QString& engine, const QString& suffix);

// Median of the samples (microseconds).
double median(std::vector<double> samples);

}  // namespace selvar::bench

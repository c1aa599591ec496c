// Rounding, number texts, the interpreter and the survey: the work done for every number a
// grid or a printout shows and every survey line a recalculation evaluates.
#include "calc/interpreter.h"
#include "calc/number_text.h"
#include "calc/rounding.h"
#include "calc/survey.h"
#include "calc/survey_record.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kovra::calc;

static void BM_round_money(benchmark::State& state) {
  double v = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(round_money(v));
    v += 0.001;
  }
}
BENCHMARK(BM_round_money);

static void BM_text_money(benchmark::State& state) {
  double v = 123456.784;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text_money(v));
    v += 0.01;
  }
}
BENCHMARK(BM_text_money);

static void BM_text_norm(benchmark::State& state) {
  double v = 0.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text_norm(v));
    v += 0.37;
  }
}
BENCHMARK(BM_text_norm);

static void BM_text_quantity_short(benchmark::State& state) {
  double v = 12.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(text_quantity_short(v, -3));
    v += 0.125;
  }
}
BENCHMARK(BM_text_quantity_short);

static void BM_interpreter_line(benchmark::State& state) {
  VL_simp_interpret in;
  double out = 0;
  in.evaluate("dl=12,5;szer=3,25", out);
  for (auto _ : state) {
    in.evaluate("2*(dl+szer)*2,8-0,9*2,1*2+sqrt(16)", out);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_interpreter_line);

static survey_lines sample_survey(int n) {
  survey_lines lines;
  lines.push_back({"wymiary", "a=4,25;b=3,1", 0.0, 0});
  for (int i = 1; i < n; ++i) lines.push_back({"ściana " + std::to_string(i), "a*b*2,75+" + std::to_string(i) + "%*a", 0.0, 0});
  return lines;
}

static void BM_evaluate_survey_100_lines(benchmark::State& state) {
  survey_lines lines = sample_survey(100);
  for (auto _ : state) {
    benchmark::DoNotOptimize(evaluate_survey(lines));
    benchmark::DoNotOptimize(survey_total(lines));
  }
}
BENCHMARK(BM_evaluate_survey_100_lines);

static void BM_survey_record_round_trip_100_lines(benchmark::State& state) {
  const survey_lines lines = sample_survey(100);
  std::vector<uint8_t> bytes;
  survey_lines back;
  for (auto _ : state) {
    encode_survey_record(lines, bytes);
    decode_survey_record(bytes.data(), bytes.size(), back);
    benchmark::DoNotOptimize(back.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_survey_record_round_trip_100_lines);

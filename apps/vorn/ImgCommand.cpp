// vorn img encode|decode: conversion between GEM IMG files (".img", or their hexadecimal text form
// ".asc") and other pictures, one file (IN OUT) or many at once into a directory (-d OUTDIR).
//
// PBM and PGM files are read and written here directly; other formats go through Qt's picture
// readers and writers in the command module, which is loaded only when such a file comes along.
#include "Batch.h"
#include "CommandModule.h"
#include "CommandTable.h"
#include "Netpbm.h"

#include <vorn/raster/IMGRows.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vorncli {
namespace {

constexpr const char* kName = "img";

bool IsIMGSuffix(const std::string& S) { return S == "img" || S == "asc"; }
bool IsDirectFormat(const std::string& S) { return S == "pbm" || S == "pgm"; }

struct TJob {
  std::string In, Out, Format;
  std::string Refused;  // why the job is not done at all
};

// ---- Decoding ---------------------------------------------------------------------------------

bool DecodeIMG(std::string_view Bytes, TBitmapRows& Rows, std::string& Error) {
  if (Bytes.size() < static_cast<size_t>(vorn::kIMGHeaderSize)) {
    Error = "Input file is not valid";
    return false;
  }
  const auto* data = reinterpret_cast<const uint8_t*>(Bytes.data());
  const vorn::TIMGHeader h = vorn::IMGGetHeader(data);
  if (h.pixels == 0 || h.lines == 0) {
    Error = "Input file is not valid";
    return false;
  }
  if (h.planes != 1) {
    Error = "only single-plane IMG images can be decoded";
    return false;
  }
  if (int64_t(h.pixels) * h.lines > vorn::kIMGDefaultMaxPixels) {
    Error = "the image of " + std::to_string(h.pixels) + " x " + std::to_string(h.lines) + " pixels is too large";
    return false;
  }
  Rows.Resize(h.pixels, h.lines);
  const vorn::TIMGRowBuffer buffer{Rows.Data(), Rows.Stride(), Rows.Width, Rows.Height, true};
  const vorn::TIMGRowsDecoded r =
      vorn::IMGDecodeRows(h, data, static_cast<int64_t>(Bytes.size()), 2 * int64_t(h.length), buffer);
  if (!r.Complete) {
    Error = "the image data ends before its last line (the file is cut short)";
    return false;
  }
  Rows.ClearPadding();
  return true;
}

std::string Decode(const TJob& Job) {
  static std::string input, output;
  static TBitmapRows rows;
  std::string error;
  if (!ReadInputFile(Job.In, input, error)) return error;
  if (Suffix(Job.In) == "asc") input = vorn::IMGBytesFromText(input);
  if (!DecodeIMG(input, rows, error)) return Job.In + ": " + error;

  // Errors of the output name the input as well: that is what the user looks for in a batch.
  TOutputFile out(Job.Out);
  if (!out.Create(error)) return Job.In + ": " + error;
  if (Job.Format == "pbm") {
    const std::string header = PbmHeader(rows.Width, rows.Height);
    if (!out.Write(header.data(), header.size(), error) || !out.Write(rows.Data(), rows.Size(), error))
      return Job.In + ": " + error;
  } else if (Job.Format == "pgm") {
    output = PgmHeader(rows.Width, rows.Height);
    AppendPgmSamples(rows, output);
    if (!out.Write(output.data(), output.size(), error)) return Job.In + ": " + error;
  } else {
    const TCommandModule* module = CommandModule(error);
    if (!module) return error;
    if (!module->WritePicture(rows, out.TempName(), Job.Format, error)) return Job.In + ": " + Job.Out + ": " + error;
  }
  return out.Commit(error) ? std::string() : Job.In + ": " + error;
}

// ---- Encoding ---------------------------------------------------------------------------------

std::string Encode(const TJob& Job) {
  static std::string input;
  static TBitmapRows rows;
  // The encoded file; its memory is only touched where the records are written.
  static std::unique_ptr<uint8_t[]> output;
  static size_t capacity = 0;
  std::string error;
  if (!ReadInputFile(Job.In, input, error)) return error;
  switch (ReadNetpbm(input, rows, error)) {
    case TNetpbmRead::Done: break;
    case TNetpbmRead::Error: return Job.In + ": " + error;
    case TNetpbmRead::NotBilevel:
    case TNetpbmRead::Other: {
      // Grey levels and colours are dithered the way Qt does it, whatever the format.
      const TCommandModule* module = CommandModule(error);
      if (!module) return error;
      if (!module->ReadPicture(input, Job.In, rows, error)) return Job.In + ": " + error;
      if (rows.Width > 0xFFFF || rows.Height > 0xFFFF)
        return Job.In + ": an IMG image holds at most 65535 x 65535 pixels";
      break;
    }
  }
  vorn::TIMGHeader header;
  header.pixels = static_cast<uint16_t>(rows.Width);
  header.lines = static_cast<uint16_t>(rows.Height);
  vorn::TIMGRowEncoder encoder({rows.Data(), rows.Stride(), rows.Width, rows.Height, true});
  if (vorn::kIMGHeaderSize + encoder.MaxSize() > capacity) {
    capacity = vorn::kIMGHeaderSize + encoder.MaxSize();
    output = std::make_unique_for_overwrite<uint8_t[]>(capacity);
  }
  uint8_t* p = output.get();
  vorn::IMGPutHeader(header, p);
  size_t n = vorn::kIMGHeaderSize;
  while (!encoder.Done()) n += encoder.Next(p + n);
  std::string_view bytes(reinterpret_cast<const char*>(p), n);
  std::string text;
  if (Job.Format == "asc") bytes = text = vorn::IMGTextFromBytes(bytes);

  TOutputFile out(Job.Out);
  if (!out.Create(error) || !out.Write(bytes.data(), bytes.size(), error) || !out.Commit(error))
    return Job.In + ": " + error;
  return {};
}

// ---- The command ------------------------------------------------------------------------------

// The output format is one the direction can write; loads the module for formats Qt writes.
bool Writable(bool Encoding, const std::string& Format) {
  if (Encoding) return IsIMGSuffix(Format);
  if (IsDirectFormat(Format)) return true;
  if (Format.empty() || IsIMGSuffix(Format)) return false;
  std::string error;
  const TCommandModule* module = CommandModule(error);
  return module && module->CanWrite(Format);
}

}  // namespace

int RunImg(int argc, char** argv) {
  std::vector<std::string> args(argv + 2, argv + argc);
  if (args.empty()) return UsageError(kName, "expected a mode: encode or decode");
  const std::string mode = args[0];
  if (mode != "encode" && mode != "decode") return UsageError(kName, "unknown mode '" + mode + "'");
  const bool encoding = mode == "encode";
  std::string outDir, format;
  int jobs = 0;
  std::vector<std::string> files;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-d" || a == "--directory" || a == "--format" || a == "-j" || a == "--jobs") {
      if (!hasValue) return UsageError(kName, a + " needs a value");
      const std::string& v = args[++i];
      if (a == "-d" || a == "--directory") outDir = v;
      else if (a == "--format") format = v;
      else if ((jobs = std::atoi(v.c_str())) < 1) return UsageError(kName, a + " takes a number of processes");
    } else if (a.size() > 1 && a[0] == '-') {
      return UsageError(kName, "unknown option '" + a + "'");
    } else {
      files.push_back(a);
    }
  }

  std::vector<TJob> list;
  if (outDir.empty()) {
    if (files.size() != 2 || !format.empty()) return UsageError(kName, "expected IN and OUT, or -d OUTDIR and inputs");
    list.push_back({files[0], files[1], Suffix(files[1]), {}});
  } else {
    if (files.empty()) return UsageError(kName, "no input files");
    if (format.empty()) format = encoding ? "img" : "pbm";
    for (char& c : format) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (outDir.back() != '/') outDir += '/';
    std::map<std::string, std::string> taken;
    for (const std::string& f : files) {
      TJob job{f, outDir + BaseName(f) + "." + format, format, {}};
      const auto [at, added] = taken.emplace(job.Out, f);
      if (!added) job.Refused = f + ": not converted, " + job.Out + " is the output of " + at->second;
      list.push_back(job);
    }
  }
  const std::string& outFormat = list.front().Format;
  if (!Writable(encoding, outFormat)) {
    return UsageError(kName, encoding ? "the output of encode is an .img or .asc file"
                                      : "cannot write images of type '" + outFormat + "'");
  }
  if (!encoding)
    for (const TJob& job : list)
      if (!IsIMGSuffix(Suffix(job.In))) return UsageError(kName, job.In + " is not an .img or .asc file");
  std::string error;
  if (!outDir.empty() && !MakeDirectories(outDir, error)) return InputError(error);

  TBatch batch(encoding ? "encoding" : "decoding", "files");
  batch.SetJobs(jobs);
  batch.SetItemName([&](int64_t I) { return list[static_cast<size_t>(I)].In; });
  const int64_t failed = batch.Run(static_cast<int64_t>(list.size()), {}, [&](int64_t I) {
    const TJob& job = list[static_cast<size_t>(I)];
    if (!job.Refused.empty()) return job.Refused;
    return encoding ? Encode(job) : Decode(job);
  });
  if (failed > 0 && list.size() > 1)
    std::fprintf(stderr, "vorn img: %lld of %zu files failed\n", static_cast<long long>(failed), list.size());
  return failed > 0 ? 1 : 0;
}

}  // namespace vorncli

/* audio_check: tells whether a recording of the game's sound output (SDL's disk audio driver:
 * raw signed 16-bit little-endian stereo at 44100 Hz) holds the music and the sound effects.
 *
 *   audio_check RAW MUSIC_WAV MIN_SECONDS [EFFECT_WAV MIN_COUNT]...
 *
 * The music is the first thing the game plays, so the recording is lined up with the music file
 * where its sound begins; from there on, every stretch of 1024 frames is fitted as (gain x music)
 * plus a rest. The music counts as heard when most stretches that have music carry it at a
 * plausible gain (the game plays it at 83 to 95 percent; a loud effect in a stretch skews its fit).
 * The rest is what the effects added; each effect file is looked for in it by normalised
 * cross-correlation and its clear occurrences are counted.
 *
 * Prints what it found; exit status 0 when every check holds, 1 when one fails, 2 on bad input. */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* A stretch is one buffer of the sound device (1024 frames), over which the music keeps one gain:
 * the mixer applies a new music volume from the next buffer on. */
enum { kRate = 44100, kWindow = 1024, kMaxTemplate = 4096, kSearch = 2048 };

typedef struct {
  float* samples; /* mono */
  long count;
} Sound;

static int ReadFile(const char* path, unsigned char** data, long* size) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return 0;
  fseek(file, 0, SEEK_END);
  *size = ftell(file);
  fseek(file, 0, SEEK_SET);
  *data = malloc(*size > 0 ? (size_t)*size : 1);
  int ok = *data != NULL && fread(*data, 1, (size_t)*size, file) == (size_t)*size;
  fclose(file);
  return ok;
}

static uint32_t Le32(const unsigned char* p) {
  return p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int16_t Le16(const unsigned char* p) {
  return (int16_t)(p[0] | p[1] << 8);
}

/* Interleaved 16-bit frames to mono. */
static Sound Mono(const unsigned char* data, long frames, int channels) {
  Sound sound = {malloc((size_t)(frames > 0 ? frames : 1) * sizeof(float)), frames};
  for (long i = 0; i < frames; ++i) {
    float sum = 0;
    for (int c = 0; c < channels; ++c) sum += Le16(data + (i * channels + c) * 2);
    sound.samples[i] = sum / channels;
  }
  return sound;
}

/* A 16-bit PCM WAV file at 44100 Hz, mono or stereo. */
static int ReadWav(const char* path, Sound* sound) {
  unsigned char* data;
  long size;
  if (!ReadFile(path, &data, &size) || size < 12 || memcmp(data, "RIFF", 4) != 0 ||
      memcmp(data + 8, "WAVE", 4) != 0) {
    fprintf(stderr, "audio_check: %s is not a WAV file\n", path);
    return 0;
  }
  int channels = 0, bits = 0;
  long rate = 0;
  for (long at = 12; at + 8 <= size;) {
    long length = (long)Le32(data + at + 4);
    if (length < 0 || at + 8 + length > size) length = size - at - 8;
    if (memcmp(data + at, "fmt ", 4) == 0 && length >= 16) {
      channels = Le16(data + at + 10);
      rate = (long)Le32(data + at + 12);
      bits = Le16(data + at + 22);
    } else if (memcmp(data + at, "data", 4) == 0) {
      if (bits != 16 || rate != kRate || channels < 1 || channels > 2) {
        fprintf(stderr, "audio_check: %s: %d-bit %ld Hz %d channels (16-bit 44100 Hz expected)\n",
                path, bits, rate, channels);
        free(data);
        return 0;
      }
      *sound = Mono(data + at + 8, length / (2 * channels), channels);
      free(data);
      return 1;
    }
    at += 8 + length + (length & 1);
  }
  fprintf(stderr, "audio_check: %s has no sound data\n", path);
  free(data);
  return 0;
}

static long FirstAbove(const Sound* sound, float level) {
  for (long i = 0; i < sound->count; ++i) {
    if (fabsf(sound->samples[i]) > level) return i;
  }
  return -1;
}

/* Correlation of recording[start .. start+length) with music[start-lag ...]. */
static double Correlation(const Sound* out, const Sound* music, long start, long length, long lag) {
  double xm = 0, xx = 0, mm = 0;
  for (long i = start; i < start + length; ++i) {
    long j = i - lag;
    if (i >= out->count || j < 0 || j >= music->count) continue;
    double x = out->samples[i], m = music->samples[j];
    xm += x * m;
    xx += x * x;
    mm += m * m;
  }
  return xx > 0 && mm > 0 ? xm / sqrt(xx * mm) : 0;
}

static int CompareDoubles(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

/* Normalised correlation of `effect` (its first `length` samples) with `rest` at `lag`; 0 where
 * the rest is quieter than about -50 dBFS, so silence never matches. */
static double MatchAt(const Sound* rest, const double* energy, const Sound* effect, long length,
                      double tt, long lag) {
  double rr = energy[lag + length] - energy[lag];
  if (rr < 100.0 * 100.0 * length) return 0;
  double rt = 0;
  const float* r = rest->samples + lag;
  for (long k = 0; k < length; ++k) rt += (double)r[k] * effect->samples[k];
  return rt / sqrt(rr * tt);
}

/* Counts the clear occurrences of `effect` in `rest`: peaks of the correlation above 0.8, each
 * taken at its best lag; occurrences closer than the effect's length count once. Prints where it
 * heard the effect, and the near misses. */
static int CountEffect(const Sound* rest, const double* energy, const Sound* effect) {
  long length = effect->count < kMaxTemplate ? effect->count : kMaxTemplate;
  double tt = 0;
  for (long k = 0; k < length; ++k) tt += (double)effect->samples[k] * effect->samples[k];
  int count = 0, printed = 0;
  if (tt <= 0) return 0;
  for (long lag = 0; lag + length <= rest->count; ++lag) {
    double c = MatchAt(rest, energy, effect, length, tt, lag);
    if (c < 0.5) continue;
    /* Climb to the top of this peak, looking at every lag of one template length. */
    long top = lag, next = lag + 1;
    for (; next < lag + length && next + length <= rest->count; ++next) {
      double d = MatchAt(rest, energy, effect, length, tt, next);
      if (d > c) {
        c = d;
        top = next;
      }
    }
    if (printed++ < 24) printf(" %s%.2f s (%.2f)", c > 0.8 ? "" : "miss ", (double)top / kRate, c);
    if (c > 0.8) {
      ++count;
      lag = top + effect->count - 1;
    } else {
      lag = next - 1;
    }
  }
  return count;
}

int main(int argc, char** argv) {
  if (argc < 4 || (argc - 4) % 2 != 0) {
    fprintf(stderr, "usage: audio_check RAW MUSIC_WAV MIN_SECONDS [EFFECT_WAV MIN_COUNT]...\n");
    return 2;
  }
  unsigned char* raw;
  long size;
  if (!ReadFile(argv[1], &raw, &size)) {
    fprintf(stderr, "audio_check: cannot read %s\n", argv[1]);
    return 2;
  }
  Sound out = Mono(raw, size / 4, 2);
  free(raw);
  Sound music;
  if (!ReadWav(argv[2], &music)) return 2;
  int failures = 0;

  double seconds = (double)out.count / kRate;
  printf("recording: %.1f s\n", seconds);
  if (seconds < atof(argv[3])) {
    printf("FAIL: the recording is shorter than %s s\n", argv[3]);
    ++failures;
  }
  long outFirst = FirstAbove(&out, 64), musicFirst = FirstAbove(&music, 64);
  if (outFirst < 0 || musicFirst < 0) {
    printf("FAIL: the recording is silent\n");
    return 1;
  }

  /* Line the recording up with the music around where both begin. */
  long guess = outFirst - musicFirst, lag = guess;
  double bestCorrelation = -1;
  for (long d = guess - kSearch; d <= guess + kSearch; ++d) {
    double c = Correlation(&out, &music, outFirst, kRate / 2, d);
    if (c > bestCorrelation) {
      bestCorrelation = c;
      lag = d;
    }
  }
  printf("music begins %.3f s into the recording (correlation %.3f)\n", (double)lag / kRate,
         bestCorrelation);

  /* Fit the music's gain over every stretch of its first play (stretches counted from the start
   * of the recording, as the device's buffers are). An effect in a stretch skews its fit a little,
   * so the music is taken out of the recording with the median gain of the stretch and its six
   * neighbours, which still follows each change of the volume exactly; the rest is kept. */
  long begin = lag > 0 ? (lag + kWindow - 1) / kWindow * kWindow : 0;
  long end = lag + music.count < out.count ? lag + music.count : out.count;
  long stretches = end > begin ? (end - begin) / kWindow : 0, windows = 0, carried = 0;
  double* gains = malloc(sizeof(double) * (size_t)(stretches + 1));
  double* sorted = malloc(sizeof(double) * (size_t)(stretches + 1));
  for (long s = 0; s < stretches; ++s) {
    double xm = 0, mm = 0;
    for (long i = begin + s * kWindow; i < begin + (s + 1) * kWindow; ++i) {
      double m = music.samples[i - lag];
      xm += out.samples[i] * m;
      mm += m * m;
    }
    gains[s] = NAN;
    if (mm < 500.0 * 500.0 * kWindow) continue; /* a quiet passage of the music */
    gains[s] = xm / mm;
    sorted[windows++] = gains[s];
    if (gains[s] > 0.5 && gains[s] < 1.1) ++carried;
  }
  Sound rest = {calloc((size_t)out.count + 1, sizeof(float)), out.count};
  memcpy(rest.samples, out.samples, (size_t)out.count * sizeof(float));
  for (long s = 0; s < stretches; ++s) {
    double near[7];
    int n = 0;
    for (long t = s - 3; t <= s + 3; ++t) {
      if (t >= 0 && t < stretches && !isnan(gains[t])) near[n++] = gains[t];
    }
    if (n == 0) continue;
    qsort(near, (size_t)n, sizeof(double), CompareDoubles);
    double gain = near[n / 2];
    for (long i = begin + s * kWindow; i < begin + (s + 1) * kWindow; ++i) {
      rest.samples[i] -= (float)(gain * music.samples[i - lag]);
    }
  }
  double median = 0;
  if (windows > 0) {
    qsort(sorted, (size_t)windows, sizeof(double), CompareDoubles);
    median = sorted[windows / 2];
  }
  free(gains);
  free(sorted);
  printf("music: %ld of %ld stretches carry it (median gain %.2f), %.1f s of it heard\n", carried,
         windows, median, (double)(end - begin) / kRate);
  if (bestCorrelation < 0.95 || windows < 20 || carried < windows * 0.8 || median < 0.7 ||
      median > 1.0) {
    printf("FAIL: the music is not in the recording\n");
    ++failures;
  }

  double* energy = malloc(sizeof(double) * (size_t)(rest.count + 1));
  energy[0] = 0;
  for (long i = 0; i < rest.count; ++i) {
    energy[i + 1] = energy[i] + (double)rest.samples[i] * rest.samples[i];
  }
  for (int a = 4; a + 1 < argc; a += 2) {
    Sound effect;
    if (!ReadWav(argv[a], &effect)) return 2;
    printf("%s at:", argv[a]);
    int count = CountEffect(&rest, energy, &effect);
    printf("\n");
    int wanted = atoi(argv[a + 1]);
    printf("%s: heard %d times (at least %d wanted)\n", argv[a], count, wanted);
    if (count < wanted) {
      printf("FAIL: %s is not heard often enough\n", argv[a]);
      ++failures;
    }
    free(effect.samples);
  }
  free(energy);
  free(rest.samples);
  free(music.samples);
  free(out.samples);
  return failures > 0 ? 1 : 0;
}

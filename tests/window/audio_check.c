/* audio_check: tells whether a recording of the game's sound output (SDL's disk audio driver:
 * raw signed 16-bit little-endian stereo at 44100 Hz) holds the music and the sound effects.
 *
 *   audio_check RAW MUSIC MIN_SECONDS [EFFECT_WAV MIN_COUNT]...
 *
 * MUSIC is a WAV or an Ogg Vorbis file.
 *
 * The music is the first thing the game plays, so the recording is lined up with the music file
 * where its sound begins; from there on, every stretch of 1024 frames is fitted as (gain x music)
 * plus a rest. The music counts as heard when most stretches that have music carry it at a
 * plausible gain (the game plays it at 83 to 95 percent; a loud effect in a stretch skews its fit).
 * The rest is what the effects added. The plays of the effects are taken out of it one by one,
 * the clearest first (the mixer starts every sound at the beginning of a buffer), so that sounds
 * that overlap do not hide each other; a play counts when its effect correlates clearly with the
 * rest once all the other plays are out.
 *
 * Prints what it found; exit status 0 when every check holds, 1 when one fails, 2 on bad input. */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vorbis/vorbisfile.h>

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
  unsigned char* data = NULL;
  long size;
  if (!ReadFile(path, &data, &size) || size < 12 || memcmp(data, "RIFF", 4) != 0 ||
      memcmp(data + 8, "WAVE", 4) != 0) {
    fprintf(stderr, "audio_check: %s is not a WAV file\n", path);
    free(data);
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

/* Ogg Vorbis at 44100 Hz, mono or stereo, decoded by libvorbisfile to 16-bit samples. */
static int ReadOgg(const char* path, Sound* sound) {
  OggVorbis_File file;
  if (ov_fopen(path, &file) != 0) {
    fprintf(stderr, "audio_check: %s is not an Ogg Vorbis file\n", path);
    return 0;
  }
  const vorbis_info* info = ov_info(&file, -1);
  const int channels = info->channels;
  if (info->rate != kRate || channels < 1 || channels > 2) {
    fprintf(stderr, "audio_check: %s: %ld Hz %d channels (44100 Hz expected)\n", path, info->rate,
            channels);
    ov_clear(&file);
    return 0;
  }
  long size = 0, capacity = 1 << 20;
  unsigned char* data = malloc((size_t)capacity);
  for (;;) {
    if (capacity - size < 8192) {
      capacity *= 2;
      data = realloc(data, (size_t)capacity);
    }
    int section = 0;
    long got = ov_read(&file, (char*)data + size, 8192, 0, 2, 1, &section);
    if (got <= 0) break;
    size += got;
  }
  ov_clear(&file);
  *sound = Mono(data, size / (2 * channels), channels);
  free(data);
  return 1;
}

/* The music: a WAV file or an Ogg Vorbis one, told apart by the first bytes. */
static int ReadMusic(const char* path, Sound* sound) {
  FILE* file = fopen(path, "rb");
  char magic[4] = {0};
  int ogg = file != NULL && fread(magic, 1, 4, file) == 4 && memcmp(magic, "OggS", 4) == 0;
  if (file != NULL) fclose(file);
  return ogg ? ReadOgg(path, sound) : ReadWav(path, sound);
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

/* An effect file, and the first part of it that is looked for (its template). */
typedef struct {
  const char* path;
  Sound sound;
  long length; /* of the template */
  double tt;   /* energy of the template */
  double ee;   /* energy of the whole effect */
} Effect;

/* One play of an effect found in the recording: where it starts and how loud it is. */
typedef struct {
  int effect;
  long start;
  double gain;
} Play;

/* Normalised correlation of the effect's template with `rest` from `start` on, with `g` times the
 * effect put back in first (the rest as it was before that play was taken out); 0 where the rest
 * is quieter than about -50 dBFS, so silence never matches. */
static double MatchAt(const Sound* rest, const Effect* effect, long start, double g) {
  if (start + effect->length > rest->count) return 0;
  double rt = 0, rr = 0;
  const float* r = rest->samples + start;
  const float* t = effect->sound.samples;
  for (long k = 0; k < effect->length; ++k) {
    double x = r[k] + g * t[k];
    rt += x * t[k];
    rr += x * x;
  }
  if (rr < 100.0 * 100.0 * effect->length) return 0;
  return rt / sqrt(rr * effect->tt);
}

/* Adds `g` times the whole effect to the rest from `start` on. */
static void AddEffect(Sound* rest, const Effect* effect, long start, double g) {
  for (long k = 0; k < effect->sound.count && start + k < rest->count; ++k) {
    rest->samples[start + k] += (float)(g * effect->sound.samples[k]);
  }
}

/* Takes the effects out of the rest, one play at a time, the clearest first: sounds that overlap
 * (a shot fired while the "enter" sound still rings) hide each other from a plain correlation,
 * but once the louder one is out the other shows clearly. The mixer starts every sound at the
 * beginning of a buffer, so plays are looked for only there. Stops when no template correlates
 * at 0.5 or better with what is left; returns the number of plays in `plays`. */
static long Decompose(Sound* rest, const Effect* effects, int count, Play* plays, long most) {
  /* The correlation of every effect at every buffer start, kept up to date as plays are taken
   * out; a start that was already taken out of the rest once is not looked at again. */
  long starts = rest->count / kWindow + 1;
  double* scores = malloc(sizeof(double) * (size_t)(starts * count));
  for (int e = 0; e < count; ++e) {
    for (long s = 0; s < starts; ++s)
      scores[e * starts + s] = MatchAt(rest, &effects[e], s * kWindow, 0);
  }
  long found = 0;
  while (found < most) {
    double best = 0.5;
    long bestSlot = -1;
    for (long slot = 0; slot < starts * count; ++slot) {
      if (scores[slot] > best) {
        best = scores[slot];
        bestSlot = slot;
      }
    }
    if (bestSlot < 0) break;
    int e = (int)(bestSlot / starts);
    long start = bestSlot % starts * kWindow;
    /* The play's loudness, fitted over the whole effect. */
    const Effect* effect = &effects[e];
    double re = 0;
    for (long k = 0; k < effect->sound.count && start + k < rest->count; ++k) {
      re += (double)rest->samples[start + k] * effect->sound.samples[k];
    }
    double gain = re / effect->ee;
    AddEffect(rest, effect, start, -gain);
    plays[found++] = (Play){e, start, gain};
    scores[bestSlot] = -1;
    /* Only the starts whose templates reach into what changed need a new look. */
    for (int f = 0; f < count; ++f) {
      long from = (start - effects[f].length) / kWindow,
           to = (start + effect->sound.count) / kWindow;
      for (long s = from < 0 ? 0 : from; s <= to && s < starts; ++s) {
        if (scores[f * starts + s] >= 0)
          scores[f * starts + s] = MatchAt(rest, &effects[f], s * kWindow, 0);
      }
    }
  }
  free(scores);
  return found;
}

static int CompareStarts(const void* a, const void* b) {
  const Play *x = a, *y = b;
  return (x->start > y->start) - (x->start < y->start);
}

/* Counts the clear plays of one effect: those whose template correlates above 0.8 with the rest
 * once every other play is taken out. Prints where it heard the effect, and the near misses. */
static int CountEffect(const Sound* rest, const Effect* effects, int e, const Play* plays,
                       long found) {
  int count = 0, printed = 0;
  for (long p = 0; p < found; ++p) {
    if (plays[p].effect != e) continue;
    double c = MatchAt(rest, &effects[e], plays[p].start, plays[p].gain);
    if (c > 0.8) ++count;
    if (c >= 0.5 && printed++ < 24) {
      printf(" %s%.2f s (%.2f)", c > 0.8 ? "" : "miss ", (double)plays[p].start / kRate, c);
    }
  }
  return count;
}

/* Checks the recording: its length, the music, and the plays of each effect against the number
 * wanted (`counts`, as typed). Returns 0 when every check holds, 1 when one fails. */
static int Check(const Sound* out, const Sound* music, const char* minSeconds,
                 const Effect* effects, int effectCount, char** counts) {
  int failures = 0;

  double seconds = (double)out->count / kRate;
  printf("recording: %.1f s\n", seconds);
  if (seconds < atof(minSeconds)) {
    printf("FAIL: the recording is shorter than %s s\n", minSeconds);
    ++failures;
  }
  long outFirst = FirstAbove(out, 64), musicFirst = FirstAbove(music, 64);
  if (outFirst < 0 || musicFirst < 0) {
    printf("FAIL: the recording is silent\n");
    return 1;
  }

  /* Line the recording up with the music around where both begin. */
  long guess = outFirst - musicFirst, lag = guess;
  double bestCorrelation = -1;
  for (long d = guess - kSearch; d <= guess + kSearch; ++d) {
    double c = Correlation(out, music, outFirst, kRate / 2, d);
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
  long end = lag + music->count < out->count ? lag + music->count : out->count;
  long stretches = end > begin ? (end - begin) / kWindow : 0, windows = 0, carried = 0;
  double* gains = malloc(sizeof(double) * (size_t)(stretches + 1));
  double* sorted = malloc(sizeof(double) * (size_t)(stretches + 1));
  for (long s = 0; s < stretches; ++s) {
    double xm = 0, mm = 0;
    for (long i = begin + s * kWindow; i < begin + (s + 1) * kWindow; ++i) {
      double m = music->samples[i - lag];
      xm += out->samples[i] * m;
      mm += m * m;
    }
    gains[s] = NAN;
    if (mm < 500.0 * 500.0 * kWindow) continue; /* a quiet passage of the music */
    gains[s] = xm / mm;
    sorted[windows++] = gains[s];
    if (gains[s] > 0.5 && gains[s] < 1.1) ++carried;
  }
  Sound rest = {calloc((size_t)out->count + 1, sizeof(float)), out->count};
  memcpy(rest.samples, out->samples, (size_t)out->count * sizeof(float));
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
      rest.samples[i] -= (float)(gain * music->samples[i - lag]);
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

  long most = rest.count / kWindow * 2 + 1;
  Play* plays = malloc(sizeof(Play) * (size_t)most);
  long found = Decompose(&rest, effects, effectCount, plays, most);
  qsort(plays, (size_t)found, sizeof(Play), CompareStarts);
  for (int e = 0; e < effectCount; ++e) {
    printf("%s at:", effects[e].path);
    int count = CountEffect(&rest, effects, e, plays, found);
    printf("\n");
    int wanted = atoi(counts[e]);
    printf("%s: heard %d times (at least %d wanted)\n", effects[e].path, count, wanted);
    if (count < wanted) {
      printf("FAIL: %s is not heard often enough\n", effects[e].path);
      ++failures;
    }
  }
  free(plays);
  free(rest.samples);
  return failures > 0 ? 1 : 0;
}

/* An effect file, with the energy of its template and of the whole; 0 when it cannot be used. */
static int LoadEffect(const char* path, Effect* effect) {
  effect->path = path;
  if (!ReadWav(path, &effect->sound)) return 0;
  effect->length = effect->sound.count < kMaxTemplate ? effect->sound.count : kMaxTemplate;
  for (long k = 0; k < effect->sound.count; ++k) {
    double x = effect->sound.samples[k];
    effect->ee += x * x;
    if (k < effect->length) effect->tt += x * x;
  }
  if (effect->tt <= 0) {
    fprintf(stderr, "audio_check: %s is silent\n", path);
    return 0;
  }
  return 1;
}

int main(int argc, char** argv) {
  if (argc < 4 || (argc - 4) % 2 != 0) {
    fprintf(stderr, "usage: audio_check RAW MUSIC MIN_SECONDS [EFFECT_WAV MIN_COUNT]...\n");
    return 2;
  }
  unsigned char* raw = NULL;
  long size;
  if (!ReadFile(argv[1], &raw, &size)) {
    fprintf(stderr, "audio_check: cannot read %s\n", argv[1]);
    free(raw);
    return 2;
  }
  Sound out = Mono(raw, size / 4, 2), music = {NULL, 0};
  free(raw);
  int effectCount = (argc - 4) / 2, status = 2, loaded = 0;
  Effect* effects = calloc((size_t)effectCount + 1, sizeof(Effect));
  char** wanted = malloc(sizeof(char*) * ((size_t)effectCount + 1));
  if (ReadMusic(argv[2], &music)) {
    while (loaded < effectCount && LoadEffect(argv[4 + 2 * loaded], &effects[loaded])) {
      wanted[loaded] = argv[5 + 2 * loaded];
      ++loaded;
    }
    if (loaded == effectCount) status = Check(&out, &music, argv[3], effects, effectCount, wanted);
  }
  for (int e = 0; e <= loaded && e < effectCount; ++e) free(effects[e].sound.samples);
  free(effects);
  free(wanted);
  free(music.samples);
  free(out.samples);
  return status;
}

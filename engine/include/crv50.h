/*
 * crv50.h - the public interface of the Corvane computation engine, libcrv50.so.
 *
 * The library exports exactly these nine functions, all extern "C". The
 * programs load the library by name at their first engine call (dlopen and
 * dlsym), so a program without it starts and works until then.
 *
 * Strings
 *   Folder and file arguments are NUL-terminated byte strings in Windows-1252.
 *   The engine treats each as a blank-padded field of 260 characters: trailing
 *   blanks are ignored, and a text longer than 259 characters is refused
 *   (status 2 and a message) instead of being cut. A folder ends in "/"; one
 *   that does not is taken as if it did. The sort key text is read the same
 *   way, up to 80 characters.
 *
 * Reals
 *   "real" is a 4-byte IEEE single (C float), as in the search parameter record
 *   and the result files.
 *
 * Status (16-bit, by reference; the CRV_STATUS_* names below)
 *   0  CRV_STATUS_DONE       done
 *   1  CRV_STATUS_CANCELLED  cancelled by the user through the progress
 *                            callback
 *   2  CRV_STATUS_FAILED     failed; the engine has already shown its one
 *                            message box ("An error occurred in procedure
 *                            <routine>:" and the message, title "CRV Error")
 *   Every export that has a status and counts sets them to 0 on entry, before
 *   anything else. Counts are valid whatever the status. 16-bit counts
 *   saturate at 32767.
 *
 * Progress and cancel
 *   The long exports take a progress callback (may be NULL: no progress, no
 *   cancel). The engine calls it on the caller's own thread with the percent
 *   done and the address of a 16-bit cancel word that the engine clears to 0
 *   before every call; the callback sets it to 1 to ask for a cancel. The
 *   export then stops, deletes what it was writing and returns status 1.
 *
 * Messages
 *   The engine's message box goes to the host program's hook when the process
 *   defines (with default visibility) the C function
 *       void crv_host_show_message(const char *text, const char *title, int icon);
 *   icon 2 is the exclamation icon the engine uses. Without the hook the
 *   message is printed to standard error. Text lines are separated by a
 *   carriage return alone.
 *
 * Concurrency
 *   One engine call at a time. A second export entered while one runs (for
 *   instance from inside a progress callback) fails with status 2 and a message
 *   and leaves the running call untouched. Inside an export the engine may use
 *   several threads (CRV_THREADS sets how many); the results do not depend on
 *   their number.
 *
 * Settings
 *   The engine reads the settings file of the programs (see
 *   docs/architecture.md): section "Paths" values "FCC Database",
 *   "QVA Database", "COM Database", "Data Folder", "Output Folder",
 *   "User Folder", and section "General" value "Model Type" (edition "SCI" or
 *   "FLD"). Its temporary files go to the private folder
 *   ${TMPDIR:-/tmp}/corvane-<uid>/.
 */
#ifndef CRV50_H
#define CRV50_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(CRV50_BUILDING)
#define CRV50_API __attribute__((visibility("default")))
#else
#define CRV50_API
#endif

/* Progress callback: percent done (0..100) by value, cancel word by reference. */
typedef void (*CrvProgressCallback)(int32_t percent, int16_t *cancel);

/* Search parameter record: nine 4-byte fields. */
typedef struct CrvSearchParams {
    int32_t option;        /* 0 frequency, 1 circle, 2 ellipse, 3 VOR circle, 4 COM circle */
    float centreLatitude;  /* degrees, north positive */
    float centreLongitude; /* degrees, west positive */
    float focus1Latitude;
    float focus1Longitude;
    float focus2Latitude;
    float focus2Longitude;
    float radiusNmi;    /* for the ellipse: the semi-major axis */
    float frequencyMHz; /* 0 = any frequency */
} CrvSearchParams;

/* Status values the exports return (see "Status" above). The numbers are
 * part of the interface: callers store and compare them. */
enum { CRV_STATUS_DONE = 0, CRV_STATUS_CANCELLED = 1, CRV_STATUS_FAILED = 2 };

/* Database numbers for SearchDB. */
enum { CRV_DB_FM = 1, CRV_DB_NAVAID = 2, CRV_DB_COM = 3 };

/* Builds the receiver grid of the case "Rfi.plt" in runFolder and writes
 * "Rcvr_Loc.plx" there (with coarse-grid prescreening also "Rcvr8Loc.plx").
 * points: receiver points written (32-bit). Old receiver-point files are
 * deleted first; a failed or cancelled grid leaves none. A case whose grid
 * would make more than 5,000,000 points is refused (status 2) with a message
 * naming the estimate: the horizontal increment must then grow. The file is the
 * same whatever the number of threads (CRV_THREADS). */
CRV50_API void Grid(const char *runFolder, CrvProgressCallback callback, int16_t *status, int32_t *points);

/* A2/B2 and brute-force evaluation; starts the report "Rfi.txt" and writes one
 * plot file per interference case. cases: interference cases found. */
CRV50_API void Evaluate(const char *runFolder, CrvProgressCallback callback, int16_t *status, int16_t *cases);

/* Two- and three-signal B1 intermodulation. cases: interference cases found;
 * combinations: station combinations examined (32-bit). */
CRV50_API void B1_2Sig(const char *runFolder, CrvProgressCallback callback, int16_t *status, int16_t *cases,
                       int32_t *combinations);
CRV50_API void B1_3Sig(const char *runFolder, CrvProgressCallback callback, int16_t *status, int16_t *cases,
                       int32_t *combinations);

/* Interference at the ground COM facility (service-volume type 8). */
CRV50_API void GrndCOM(const char *runFolder, CrvProgressCallback callback, int16_t *status, int16_t *cases);

/* Searches database 1 (FM), 2 (navaid) or 3 (COM) and appends the hits to
 * "RfiSrch1.tmp" and "RfiSrch2.tmp" in the temporary folder. The result files
 * are never emptied by the engine; a cancel keeps the lines appended so far.
 * count: facilities found (16-bit). */
CRV50_API void SearchDB(int16_t database, const CrvSearchParams *params, CrvProgressCallback callback,
                        int16_t *status, int16_t *count);

/* Sorts a text file of fixed-length records by column keys "start:end:D|A ...",
 * replacing the file. No status: a file that cannot be opened is left alone. */
CRV50_API void SortFile(const char *file, const char *keyText, int16_t recordLength);

/* Flat-earth position arithmetic, 60 nmi per degree, longitude positive west.
 * DistLL: the point at distance (nmi) and bearing (degrees true) from (lat, lon).
 * LLDist: distance (nmi) and bearing from point 1 to point 2. */
CRV50_API void DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float *newLatitude,
                      float *newLongitude);
CRV50_API void LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float *distanceNmi,
                      float *bearingDeg);

#ifdef __cplusplus
}
#endif

#endif /* CRV50_H */

#pragma once
// The C interface of libortakdlg.so. Short texts are 256-byte buffers whose first byte is
// the length (text in code page 1254); dates are date-time reals (days since 30.12.1899).
// The program loads the library for each call, looks the entry point up by name, calls it
// and frees the library right after.
extern "C" {
typedef double (*DateAl1Fn)(double today);
typedef void (*BrKurumCreateFn)(int mode, unsigned char* codeOut);
typedef int (*BrHastaCreateFn)(int mode);
typedef int (*BrDoktorCreateFn)(int mode);
typedef void (*BrUrunCreateFn)(int mode, unsigned char* nameOut);
typedef void (*BrCardFn)(int mode, unsigned char* buffer);  // BrJenCreate, BrGrupCreate, BrFirmaCreate, BrEndikCreate
typedef double (*BrOldRecordFn)(int mode);                  // BrSatisCreate, BrReceteCreate, BrFatRsizCreate, EskiAlisCreate
typedef void (*UEditInsertFn)(const unsigned char* productName, int mode, unsigned char* nameOut);
typedef void (*HareketListVerFn)(const unsigned char* request1808);
typedef double (*VeresiyeAcFn)(const unsigned char* accountName, const unsigned char* description, unsigned char mode,
                               double date, double number, double amount, double patientShare,
                               const unsigned char* accountKey);
typedef void (*NoArgFn)(void);  // TanimlaRecete, ListeTanimGor
}

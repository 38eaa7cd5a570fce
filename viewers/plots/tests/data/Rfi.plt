CRV Version 5.0.6
 QKV 275 108.100  39 20 15   77 45 40   420  9000  15 38  0   0     0 
 QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  0 LIC     0
 QKAB    104.100  39 17 10   77 56 36  30.0000  1247 58  0   0  0 LIC     0
 QKAC    107.100  39 18 15   77 41 11  20.0000  1148  0  0   0  1 LIC     0
 QKAD    107.500  39 21 38   77 35 29  25.0000   984  7  0   0  0 LIC     0
 QKAF     99.500  39 26 19   77 41 08   3.0000   919  0  0   0  2 LIC     0
 QKAG    107.700  39 18 12   77 38 23  45.0000  1640 25  2   0  0 LIC     0
 QNEW    107.900  39 19 59   77 41 48   6.0000  1450 13  0   0  1 APP     0
 $$$$
  1  1  4  4  4  1  1000   0 2000 500  0  0
 QKV LOC 27      QUENFIELD INTL, ZB        03/14/24 30
 User-Specified Horizontal Radiation Pattern
 ILS, U.S. Standard
 Horizontal Only, Bottom of FPSV
 3rd Order Within 200 kHz
 ICAO 1998 Model
 ICAO 1998 Receiver
 ICAO 1998 Cutoff
 Print Short Summaries

CRV Version 5.0.6
 DW0   0 118.000  38 00 00   77 00 00   310     0  50 37  8  50 10000 
 QDAA    106.100  37 59 54   76 59 15  50.0000  1312  1  0   0  1 LIC     0
 QDAB     94.200  37 59 23   77 00 39  35.0000  1181  1  0   0  0 LIC     0
 QDAC    107.500  38 00 28   77 00 13  20.0000   984 13  0   0  0 LIC     0
 QDAD     95.700  38 00 51   76 59 37  15.0000  1017  1  0   0  0 LIC     0
 QDAE     99.100  38 06 00   76 46 48   8.0000   919  0  0   0  2 LIC     0
 QDNW    106.300  37 56 32   76 57 28  10.0000  1300 13  0   0  1 APP     0
 $$$$
  1  1  2  2  2  1  1000   0 3000 500  0  0
 DW0 COM         CEDARVALE RCO, ZC         03/14/24 30
 VHF COM, Generic
 VHF COM
 Horizontal Only, Bottom of FPSV
 3rd Order Within 200 kHz
 4417.09 VHF COM
 4417.09 VHF COM
 4417.09 VHF COM
 Print Short Summaries

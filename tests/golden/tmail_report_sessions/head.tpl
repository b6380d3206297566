@program: sessions of the T-Mail station
====== @total sessions ======

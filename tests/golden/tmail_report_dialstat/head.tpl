@program: nodes of the T-Mail station
====== @total nodes ======

Address 2:5020/9999

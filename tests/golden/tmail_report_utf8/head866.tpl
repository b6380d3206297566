Žâç¥â @program þ @total

document.write("rates");
var cur1=new Array(1, "30.1234",  "43.5678", "x");
var cur2=new Array(2);
